#include "station/ModuleNames.h"

namespace
{

struct NameRow {
    int id;
    const char *neutral;
    const char *branded;
};

constexpr NameRow Names[] = {
    {0, "empty", "empty"},     {1, "NX651", "QA3125"},     {2, "NX641", "QA3120"},     {3, "NX624-1", "QA3131"},
    {4, "NX621-0", "QA3130"},  {5, "NX631-0", "QA3135"},   {6, "NX642", "QA3121"},     {7, "NX652", "QA3126"},
    {8, "NX624-1", "QA3131"},  {9, "NX643", "QA3122"},     {10, "NX625-1", "QA3132"},  {11, "NX622-0", "QA3130"},
    {14, "NX624-0", "QA3133"}, {15, "NX624-2", "QA3134"},  {68, "NX621-1", "QA3130"},  {69, "NX631-2", "QA3135"},
    {75, "NX622-1", "QA3130"}, {132, "NX621-2", "QA3130"}, {133, "NX631-1", "QA3135"}, {139, "NX622-2", "QA3130"},
};

} // namespace

std::array<QString, 256> BuiltInShortNames(quint8 brandMode)
{
    std::array<QString, 256> names;
    if (brandMode == 0)
        for (int i = 16; i < 256; ++i)
            names[i] = QStringLiteral("specific");
    for (const NameRow &row : Names)
        names[row.id] = QString::fromLatin1(brandMode == 1 ? row.branded : row.neutral);
    return names;
}
