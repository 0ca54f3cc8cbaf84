// Parameter objects as the description file describes them, and the values
// their editors make: bit flags, number fields with mask, sign, size and
// range, value rows.
#include "ParameterFixture.h"

#include "parameters/ObjectItems.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

struct Objects {
    explicit Objects(const QByteArray &text)
    {
        parameterfixture::WriteFile(dir.filePath(QStringLiteral("o.cfg")), text);
    }
    tObjItems load(const char *id) const
    {
        return LoadObjectItems(IniFile(dir.filePath(QStringLiteral("o.cfg"))), QString::fromLatin1(id));
    }
    QTemporaryDir dir;
};

std::vector<bool> Ticks(std::initializer_list<int> bits)
{
    return std::vector<bool>(bits.begin(), bits.end());
}

TEST(ObjectItems, LoadsEveryKey)
{
    const Objects f(parameterfixture::DescriptionFile);
    const tObjItems o = f.load("DoNum");
    EXPECT_EQ(o.Id, QStringLiteral("DoNum"));
    EXPECT_EQ(o.Name, QStringLiteral("Zahl"));
    EXPECT_EQ(o.Typ, 2);
    EXPECT_EQ(o.Bytes, 2);
    EXPECT_FALSE(o.Signed);
    EXPECT_EQ(o.BitNumbers, (std::vector<qint64>{8}));
    EXPECT_EQ(o.BitTexts, (QStringList{"Melden"}));
    EXPECT_EQ(o.RangeCaption, QStringLiteral("Zahl (0..100)"));
    EXPECT_EQ(o.Range, (QStringList{"0", "100"}));
    EXPECT_TRUE(o.HasNumberField());
    EXPECT_EQ(o.FirstValueRow(), 1);
    EXPECT_EQ(o.Rows[0].Mask, 0xFF);
    EXPECT_EQ(o.Rows[1].Caption, QStringLiteral("Modus"));
    EXPECT_EQ(o.Rows[1].Mask, 0x3000);
    EXPECT_EQ(o.Rows[1].Values, (std::vector<qint64>{0, 0x1000, 0x2000}));
    EXPECT_EQ(o.Rows[1].Texts, (QStringList{"aus", "langsam", "schnell"}));
    EXPECT_TRUE(o.Rows[1].Usable());
    EXPECT_FALSE(o.Rows[2].Usable());

    EXPECT_TRUE(f.load("DoSign").Signed);
    EXPECT_EQ(f.load("DoSign").Bytes, 1);
    // The identifier is cut to seven characters before the section is looked up.
    EXPECT_EQ(f.load("0x7000ABCD").Name, QStringLiteral("Lang"));
    EXPECT_EQ(f.load("Missing").Typ, 0);
}

TEST(ObjectItems, DigitalObjectBoxesAndChange)
{
    const Objects f(parameterfixture::DescriptionFile);
    const tObjItems o = f.load("DoBits"); // BitNumber 0,3
    const std::vector<ObjectBitBox> boxes = ObjectBitBoxes(o, 0x09, DigitalObjectBoxes);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Caption, QStringLiteral("Bit null"));
    EXPECT_TRUE(boxes[0].Ticked);
    EXPECT_EQ(boxes[1].Caption, QStringLiteral("Bit drei"));
    EXPECT_TRUE(boxes[1].Ticked);

    // Clearing the second stores 0x01; bits not listed are cleared.
    EXPECT_EQ(DigitalObjectValue(o, Ticks({1, 0})), 0x01);
    EXPECT_EQ(DigitalObjectValue(o, Ticks({0, 1})), 0x08);
    EXPECT_EQ(DigitalObjectValue(o, Ticks({0, 0})), 0);
    EXPECT_FALSE(ObjectBitBoxes(o, 0xF6, DigitalObjectBoxes)[0].Ticked);
}

TEST(ObjectItems, BitsBeyondTheLowThirtyTwo)
{
    const Objects f("[Object_W]\nTyp=1\nBitNumber=31,40,-1,3,4,5,6,7,8,9\nBitText=a,b,c,d,e,f,g,h,i,j\n");
    const tObjItems o = f.load("W");
    const std::vector<ObjectBitBox> boxes = ObjectBitBoxes(o, -1, DigitalObjectBoxes);
    ASSERT_EQ(boxes.size(), 8u) << "at most eight boxes";
    EXPECT_TRUE(boxes[0].Ticked);
    EXPECT_FALSE(boxes[1].Ticked) << "bit 40 is outside the low 32 bits";
    EXPECT_FALSE(boxes[2].Ticked);
    EXPECT_EQ(ObjectBitBoxes(o, -1, MixedObjectBoxes).size(), 4u);
    // Bit 31 set: the value is widened with its sign.
    EXPECT_EQ(DigitalObjectValue(o, Ticks({1, 1, 1, 0, 0, 0, 0, 0})), -2147483648LL);
}

TEST(ObjectItems, NumberFieldWithRangeAndUnsignedMask)
{
    const Objects f(parameterfixture::DescriptionFile);
    const tObjItems o = f.load("DoNum"); // range 0,100, mask 0xFF, unsigned
    struct Case {
        const char *typed;
        std::optional<qint64> stored;
    };
    const Case cases[] = {
        {"250", 100},          {"-5", 0},          {"42", 42}, {"0x20", 32}, {"$30", 48}, {"100", 100},
        {"abc", std::nullopt}, {"", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NumberFieldValue(o, QString::fromLatin1(c.typed)), c.stored) << c.typed;
    EXPECT_EQ(NumberFieldText(o, 0x1105), QStringLiteral("5"));

    // No range: only the mask limits.
    const Objects g(
        "[Object_N]\nTyp=2\nValueRangeCaption=N\nValueMask0=0xFF\n[Object_One]\nTyp=2\nValueRangeCaption=N\n"
        "ValueMask0=0xFFFF\nValueRange=10\n[Object_Three]\nTyp=2\nValueRangeCaption=N\nValueMask0=0xFFFF\n"
        "ValueRange=10,20,30\n");
    EXPECT_EQ(NumberFieldValue(g.load("N"), QStringLiteral("300")), 300 & 0xFF);
    EXPECT_EQ(NumberFieldValue(g.load("One"), QStringLiteral("5")), 10);
    EXPECT_EQ(NumberFieldValue(g.load("One"), QStringLiteral("5000")), 5000) << "a minimum only";
    EXPECT_EQ(NumberFieldValue(g.load("Three"), QStringLiteral("5000")), 5000) << "three items: no maximum";
}

TEST(ObjectItems, SignedNumbersOfOneTwoAndFourBytes)
{
    const Objects f(R"(
[Object_S1]
Typ=2
Bytes=1
Signed=1
ValueRangeCaption=S1
ValueRange=-100,100
ValueMask0=0xFF
BitNumber=8
[Object_S2]
Typ=2
Bytes=2
Signed=1
ValueRangeCaption=S2
ValueRange=0xF000,0x0FFF
ValueMask0=0xFFFF
[Object_S4]
Typ=2
Bytes=4
Signed=1
ValueRangeCaption=S4
ValueMask0=0xFFFFFFFF
[Object_S3]
Typ=2
Bytes=3
Signed=1
ValueRangeCaption=S3
ValueMask0=0xFFFFFFFF
)");
    struct Case {
        const char *id;
        qint64 value;
        const char *shown;
    };
    const Case shown[] = {
        {"S1", 0x1FB, "-5"},
        {"S1", 0x7F, "127"},
        {"S1", -5, "-5"},
        {"S2", 0xF830, "-2000"},
        {"S2", -2000, "-2000"},
        {"S4", 0xFFFFFF9C, "-100"},
        {"S4", 0x7FFFFFFF, "2147483647"},
        {"S3", 0x00FFFFFF, "16777215"},
        {"S3", 0xFFFFFFFF, "-1"},
    };
    for (const Case &c : shown)
        EXPECT_EQ(NumberFieldText(f.load(c.id), c.value), QString::fromLatin1(c.shown)) << c.id << " " << c.value;

    struct Entry {
        const char *id;
        const char *typed;
        qint64 stored;
        const char *shown;
    };
    const Entry typed[] = {
        {"S1", "-5", 0xFB, "-5"},
        {"S1", "-200", 0x9C, "-100"},
        {"S1", "0xFB", 0xFB, "-5"}, // "0x": the field's bit pattern
        {"S1", "0x80", 0x9C, "-100"},
        {"S2", "-5000", 0xF000, "-4096"}, // the range's items read as the field reads
        {"S2", "0xF830", 0xF830, "-2000"},
        {"S4", "-100", 0xFFFFFF9C, "-100"},
        {"S4", "0xFFFFFFFF", 0xFFFFFFFF, "-1"},
    };
    for (const Entry &e : typed) {
        SCOPED_TRACE(testing::Message() << e.id << " " << e.typed);
        const tObjItems o = f.load(e.id);
        const std::optional<qint64> stored = NumberFieldValue(o, QString::fromLatin1(e.typed));
        ASSERT_TRUE(stored);
        EXPECT_EQ(*stored, e.stored);
        EXPECT_EQ(NumberFieldText(o, *stored), QString::fromLatin1(e.shown));
    }
    // A negative number keeps off the flag beside it.
    const tObjItems s1 = f.load("S1");
    const qint64 value = MixedObjectValue(s1, Ticks({0}), NumberFieldValue(s1, QStringLiteral("-5")), {-1, -1, -1, -1});
    EXPECT_EQ(value, 0xFB);
    EXPECT_FALSE(ObjectBitBoxes(s1, value, MixedObjectBoxes)[0].Ticked);
}

TEST(ObjectItems, MixedObjectValueFromFlagsFieldAndRows)
{
    const Objects f(parameterfixture::DescriptionFile);
    const tObjItems num = f.load("DoNum");
    EXPECT_EQ(num.Rows[1].IndexOf(0x1105), 1);
    EXPECT_EQ(num.Rows[1].IndexOf(0x3105), -1);
    EXPECT_EQ(MixedObjectValue(num, Ticks({1}), 42, {-1, 2, -1, -1}), 0x100 | 42 | 0x2000);
    // A shown row without a selection adds nothing.
    EXPECT_EQ(MixedObjectValue(num, Ticks({0}), 42, {-1, -1, -1, -1}), 42);
    // Row 0 is the number field: a selection there does not count.
    EXPECT_EQ(MixedObjectValue(num, Ticks({0}), 1, {2, 0, -1, -1}), 1);

    const tObjItems rows = f.load("DiRows"); // rows 0 and 1, no number field
    EXPECT_EQ(rows.Rows[0].IndexOf(0x0012), 2);
    EXPECT_EQ(rows.Rows[1].IndexOf(0x0012), 1);
    EXPECT_EQ(MixedObjectValue(rows, {}, std::nullopt, {1, 0, -1, -1}), 0x01);
    EXPECT_EQ(MixedObjectValue(rows, {}, 99, {2, 1, -1, -1}), 0x12) << "no number field: no field value";
}

} // namespace
