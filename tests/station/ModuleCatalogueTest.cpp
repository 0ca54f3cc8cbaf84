#include "station/ModuleCatalogue.h"
#include "station/ModuleNames.h"
#include "station/ModulePictures.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

void writeText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

struct CatalogueFolder {
    CatalogueFolder()
    {
        folder = dir.path() + QLatin1Char('/');
        QImage picture(8, 20, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        picture.save(folder + QStringLiteral("ok.png"));
    }
    QTemporaryDir dir;
    QString folder;
};

TEST(ModuleCatalogue, DescriptionFileEdgeCases)
{
    CatalogueFolder f;
    writeText(f.folder + QStringLiteral("ModIO_NX.cfg"),
              "[Mod_ID_0xF5]\nShortName=VO3112\nType=XX\n"
              "[mod_id_0x0a]\nShortName=NX 625-1\nType=AI\nAddName=2 x DMS\nBytes=0x10\nChannel=2\n"
              "ChannelObject0=M1\nChannelObject1=\"A 1\",A2\nChannelObject2=B1 B2\nChannelObject3=C1\n"
              "Image=ok.png\n"
              "[Mod_ID_0x01]\nShortName=NX 651\nType=ai\nBytes=abc\nImage=missing.png\n"
              "[Mod_ID_0x02]\nType=DI\nAddName=no short name\n"
              "[Mod_ID_0x06]\nShortName=NX 642\nType=DI\nChannel=12\nChannelObject8=L8\nChannelObject9=L9\n");
    const ModuleCatalogueTable t = LoadModuleCatalogue(f.folder, 0);
    // Upper-case hex in section names; names ignore case when read.
    EXPECT_EQ(t[245].ShortName, QStringLiteral("VO3112"));
    EXPECT_EQ(t[245].Kind, 0);
    EXPECT_EQ(t[10].ShortName, QStringLiteral("NX 625-1"));
    EXPECT_EQ(t[10].Kind, 1);
    EXPECT_EQ(t[10].AddName, QStringLiteral("2 x DMS"));
    EXPECT_EQ(t[10].Bytes, 16);
    EXPECT_EQ(t[10].Channel, 2);
    EXPECT_EQ(t[10].ObjectLists[0], QStringList{"M1"});
    EXPECT_EQ(t[10].ObjectLists[1], (QStringList{"A 1", "A2"}));
    EXPECT_EQ(t[10].ObjectLists[2], (QStringList{"B1", "B2"}));
    EXPECT_TRUE(t[10].ObjectLists[3].isEmpty()); // Channel = 2 reads lists 0..2 only
    EXPECT_FALSE(ModulePicture(t[10].PictureFile).isNull());
    EXPECT_EQ(t[1].Kind, 0); // "ai" is not "AI"
    EXPECT_EQ(t[1].Bytes, 0);
    EXPECT_TRUE(ModulePicture(t[1].PictureFile).isNull()); // silently no picture
    EXPECT_TRUE(t[2].ShortName.isEmpty());
    EXPECT_TRUE(t[2].AddName.isEmpty()); // nothing else is set without a short name
    EXPECT_EQ(t[2].Kind, 0);
    EXPECT_EQ(t[6].ObjectLists[8], QStringList{"L8"}); // lists beyond 8 are not read
    EXPECT_EQ(t[6].Channel, 12);
}

TEST(ModuleCatalogue, BrandSelectsTheFileAndAMissingFileIsEmpty)
{
    CatalogueFolder f;
    writeText(f.folder + QStringLiteral("ModIO_QA.cfg"), "[Mod_ID_0x01]\nShortName=QA3125\n");
    EXPECT_EQ(LoadModuleCatalogue(f.folder, 1)[1].ShortName, QStringLiteral("QA3125"));
    const ModuleCatalogueTable neutral = LoadModuleCatalogue(f.folder, 0);
    EXPECT_TRUE(
        std::all_of(neutral.begin(), neutral.end(), [](const CatalogueEntry &e) { return e.ShortName.isEmpty(); }));
    EXPECT_EQ(ModuleSectionName(245), QStringLiteral("Mod_ID_0xF5"));
    EXPECT_EQ(ModuleSectionName(10), QStringLiteral("Mod_ID_0x0A"));
    EXPECT_EQ(ModuleSectionName(0x10A), QStringLiteral("Mod_ID_0x0A")); // low byte
}

TEST(ModuleNames, BothVariants)
{
    const auto neutral = BuiltInShortNames(0);
    const auto branded = BuiltInShortNames(1);
    struct Row {
        int id;
        const char *neutral;
        const char *branded;
    };
    const Row rows[] = {
        {0, "empty", "empty"},
        {1, "NX651", "QA3125"},
        {5, "NX631-0", "QA3135"},
        {10, "NX625-1", "QA3132"},
        {12, "", ""},
        {13, "", ""},
        {14, "NX624-0", "QA3133"},
        {16, "specific", ""},
        {69, "NX631-2", "QA3135"},
        {133, "NX631-1", "QA3135"},
        {139, "NX622-2", "QA3130"},
        {200, "specific", ""},
        {245, "specific", ""},
        {255, "specific", ""},
    };
    for (const Row &r : rows) {
        EXPECT_EQ(neutral[r.id], QString::fromLatin1(r.neutral)) << r.id;
        EXPECT_EQ(branded[r.id], QString::fromLatin1(r.branded)) << r.id;
    }
}

} // namespace
