#include "parameters/ObjectItems.h"

#include "app/Conversions.h"
#include "app/IniFile.h"
#include "parameters/ParameterRecords.h"

#include <algorithm>

namespace
{

// The low `bytes` bytes as a signed number; a size other than 1, 2 or 4 as 4.
qint64 signedOf(qint64 bits, qint64 bytes)
{
    switch (bytes) {
    case 1:
        return static_cast<qint8>(bits);
    case 2:
        return static_cast<qint16>(bits);
    default:
        return static_cast<qint32>(bits);
    }
}

qint64 fieldMask(const tObjItems &items)
{
    return items.Rows[0].Mask;
}

// Bit `bit` (0..63) as a mask; nothing for a bit outside a 64-bit value.
qint64 bitMask(qint64 bit)
{
    return bit >= 0 && bit < 64 ? static_cast<qint64>(quint64(1) << bit) : 0;
}

bool startsWithHex(const QString &text)
{
    return text.trimmed().startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
}

// A range item read as the field reads its text.
qint64 rangeValue(const tObjItems &items, const QString &item)
{
    const qint64 number = IniFile::descriptionNumber(item);
    if (items.Signed && startsWithHex(item))
        return signedOf(number & fieldMask(items), items.Bytes);
    return number;
}

qint64 flagBits(const tObjItems &items, const std::vector<bool> &ticked, int boxes)
{
    qint64 value = 0;
    const int n = std::min<int>({static_cast<int>(items.BitNumbers.size()), static_cast<int>(ticked.size()), boxes});
    for (int i = 0; i < n; ++i)
        if (ticked[static_cast<size_t>(i)])
            value |= bitMask(items.BitNumbers[static_cast<size_t>(i)]);
    return value;
}

} // namespace

int ObjectValueRow::IndexOf(qint64 value) const
{
    const qint64 bits = value & Mask;
    for (size_t k = 0; k < Values.size(); ++k)
        if (Values[k] == bits)
            return static_cast<int>(k);
    return -1;
}

tObjItems LoadObjectItems(const IniFile &descriptionFile, const QString &objectId)
{
    tObjItems items;
    items.Id = objectId.left(ObjectIdLength);
    if (items.Id.isEmpty())
        return items;
    const QString section = QStringLiteral("Object_") + items.Id;
    auto read = [&](const QString &key) { return descriptionFile.readString(section, key); };
    auto number = [&](const QString &key) { return IniFile::descriptionNumber(read(key)); };
    items.Name = read(QStringLiteral("Name"));
    items.Typ = number(QStringLiteral("Typ"));
    items.Bytes = number(QStringLiteral("Bytes"));
    items.Signed = descriptionFile.readBool(section, QStringLiteral("Signed"), false);
    for (const QString &bit : IniFile::splitList(read(QStringLiteral("BitNumber"))))
        items.BitNumbers.push_back(IniFile::descriptionNumber(bit));
    items.BitTexts = IniFile::splitList(read(QStringLiteral("BitText")));
    for (int r = 0; r < ObjectValueRows; ++r) {
        ObjectValueRow &row = items.Rows[static_cast<size_t>(r)];
        row.Caption = read(QStringLiteral("ValueCaption%1").arg(r));
        row.Mask = number(QStringLiteral("ValueMask%1").arg(r));
        for (const QString &v : IniFile::splitList(read(QStringLiteral("ValueList%1").arg(r))))
            row.Values.push_back(IniFile::descriptionNumber(v));
        row.Texts = IniFile::splitList(read(QStringLiteral("ValueText%1").arg(r)));
    }
    items.RangeCaption = read(QStringLiteral("ValueRangeCaption"));
    items.Range = IniFile::splitList(read(QStringLiteral("ValueRange")));
    return items;
}

std::vector<ObjectBitBox> ObjectBitBoxes(const tObjItems &items, qint64 value, int boxes)
{
    std::vector<ObjectBitBox> result;
    const int n = std::min<int>(static_cast<int>(items.BitNumbers.size()), boxes);
    const quint32 low = static_cast<quint32>(value);
    for (int i = 0; i < n; ++i) {
        const qint64 bit = items.BitNumbers[static_cast<size_t>(i)];
        ObjectBitBox box;
        box.Caption = items.BitTexts.value(i);
        box.Ticked = bit >= 0 && bit < 32 && (low >> bit) & 1U;
        result.push_back(box);
    }
    return result;
}

qint64 DigitalObjectValue(const tObjItems &items, const std::vector<bool> &ticked)
{
    quint32 bits = 0;
    const int n =
        std::min<int>({static_cast<int>(items.BitNumbers.size()), static_cast<int>(ticked.size()), DigitalObjectBoxes});
    for (int i = 0; i < n; ++i) {
        const qint64 bit = items.BitNumbers[static_cast<size_t>(i)];
        if (ticked[static_cast<size_t>(i)] && bit >= 0 && bit < 32)
            bits |= 1U << bit;
    }
    return static_cast<qint32>(bits);
}

QString NumberFieldText(const tObjItems &items, qint64 value)
{
    const qint64 bits = value & fieldMask(items);
    return QString::number(items.Signed ? signedOf(bits, items.Bytes) : bits);
}

std::optional<qint64> NumberFieldValue(const tObjItems &items, const QString &text)
{
    std::optional<qint64> number;
    if (items.Signed && startsWithHex(text)) {
        number = ParseUserHex(text);
        if (number)
            number = signedOf(*number & fieldMask(items), items.Bytes);
    } else {
        number = ParseUserInteger(text);
    }
    if (!number)
        return std::nullopt;
    qint64 n = *number;
    if (!items.Range.isEmpty()) {
        n = std::max(n, rangeValue(items, items.Range[0]));
        if (items.Range.size() == 2)
            n = std::min(n, rangeValue(items, items.Range[1]));
    }
    // A signed number keeps to its field too: its sign bits would otherwise
    // set the flags and rows beside it.
    return n & fieldMask(items);
}

qint64 MixedObjectValue(const tObjItems &items, const std::vector<bool> &ticked, std::optional<qint64> field,
                        const std::array<int, ObjectValueRows> &selected)
{
    qint64 value = flagBits(items, ticked, MixedObjectBoxes);
    if (items.HasNumberField() && field)
        value |= *field;
    for (int r = items.FirstValueRow(); r < ObjectValueRows; ++r) {
        const ObjectValueRow &row = items.Rows[static_cast<size_t>(r)];
        const int k = selected[static_cast<size_t>(r)];
        if (!row.Usable() || k < 0 || k >= static_cast<int>(row.Values.size()))
            continue;
        value |= row.Values[static_cast<size_t>(k)] & row.Mask;
    }
    return value;
}
