#include "AnaOutFixture.h"

#include "app/IniFile.h"
#include "parameters/AnaOutParams.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

namespace
{

std::vector<int> bytes(const ModbusBuffer &frame, int from, int count)
{
    return std::vector<int>(frame.begin() + from, frame.begin() + from + count);
}

TEST(AnaOutFrames, ReadAndWriteRequests)
{
    AnaOutBlock block{};
    for (int i = 0; i < 16; ++i)
        block[size_t(i)] = 0x0100 + i;
    block[1] = -1;
    block[2] = 0x8012;

    struct Case {
        int count;
        int quantity;
    };
    for (const Case &c : {Case{0, 0}, Case{4, 4}, Case{16, 16}, Case{20, 16}}) {
        SCOPED_TRACE(c.count);
        ModbusBuffer tx{};
        EXPECT_EQ(BuildAnaOutReadRequest(tx, 8, c.count), 12);
        EXPECT_EQ(bytes(tx, 6, 6), (std::vector<int>{8, 4, 0x24, 0x00, 0, c.quantity}));

        ModbusBuffer w{};
        EXPECT_EQ(BuildAnaOutWriteRequest(w, 8, c.count, block), 13 + 2 * c.quantity);
        EXPECT_EQ(bytes(w, 6, 7), (std::vector<int>{8, 0x10, 0x24, 0x00, 0, c.quantity, 2 * c.quantity}));
        if (c.quantity >= 4) {
            EXPECT_EQ(bytes(w, 13, 8), (std::vector<int>{0x01, 0x00, 0xFF, 0xFF, 0x80, 0x12, 0x01, 0x03}));
        }
        if (c.quantity == 16) {
            EXPECT_EQ(bytes(w, 13 + 30, 2), (std::vector<int>{0x01, 0x0F}));
        }
        EXPECT_EQ(w[size_t(13 + 2 * c.quantity)], 0); // nothing behind the last word
    }
}

TEST(AnaOutFrames, DecodeTakesTheWordsSignExtended)
{
    ModbusBuffer rx{};
    const std::vector<int> reply = {8, 4, 8, 0x01, 0x02, 0xFF, 0xFF, 0x80, 0x12, 0x00, 0x33};
    std::copy(reply.begin(), reply.end(), rx.begin() + 6);
    AnaOutBlock block{};
    block[4] = 77;
    ASSERT_TRUE(DecodeAnaOutReply(rx, quint16(6 + reply.size()), 4, block));
    EXPECT_EQ(block[0], 0x0102);
    EXPECT_EQ(block[1], -1);
    EXPECT_EQ(block[2], -32750);
    EXPECT_EQ(block[3], 0x33);
    EXPECT_EQ(block[4], 77);

    // One word short: nothing is taken.
    AnaOutBlock untouched{};
    EXPECT_FALSE(DecodeAnaOutReply(rx, quint16(6 + reply.size() - 1), 4, untouched));
    EXPECT_FALSE(DecodeAnaOutReply(rx, quint16(6 + reply.size()), 5, untouched));
    EXPECT_EQ(untouched, AnaOutBlock{});

    EXPECT_EQ(AnaOutWordText(0x0102), QStringLiteral("0102"));
    EXPECT_EQ(AnaOutWordText(-1), QStringLiteral("FFFF"));
    EXPECT_EQ(AnaOutWordText(-32750), QStringLiteral("8012"));
}

struct DescriptionFile {
    DescriptionFile(const QByteArray &extra = {})
    {
        QFile f(dir.filePath(QStringLiteral("ModIO_NX.cfg")));
        f.open(QIODevice::WriteOnly);
        f.write(anaoutfixture::DescriptionFile + "\n" + extra);
        f.close();
    }
    IniFile file() const { return IniFile(dir.filePath(QStringLiteral("ModIO_NX.cfg"))); }
    QTemporaryDir dir;
};

TEST(AnaOutObject, ValueRowsOfTheOutputObject)
{
    const DescriptionFile f;
    const AnaOutObject o = LoadAnaOutObject(f.file(), QStringLiteral("0x7500"));
    EXPECT_EQ(o.id, QStringLiteral("0x7500"));
    EXPECT_EQ(o.name, QStringLiteral("Ausgangsbereich"));
    ASSERT_EQ(o.choices.size(), 2u);
    const AnaOutChoice &type = o.choices[0];
    EXPECT_EQ(type.caption, QStringLiteral("Ausgangsbereich"));
    EXPECT_EQ(type.mask, 0x0007);
    EXPECT_EQ(type.values, (std::vector<qint64>{0, 1, 2, 3}));
    EXPECT_EQ(type.texts, (QStringList{"Kanal aus", "0..20 mA", "4..20 mA", "0..10 V"}));
    const AnaOutChoice &reaction = o.choices[1];
    EXPECT_EQ(reaction.mask, 0x0030);
    EXPECT_EQ(reaction.values, (std::vector<qint64>{0x00, 0x10}));
    EXPECT_EQ(reaction.texts, (QStringList{"Ausgang 0", "letzten Wert halten"}));
    EXPECT_EQ(o.choice(2), nullptr);
    EXPECT_EQ(o.choice(-1), nullptr);

    EXPECT_EQ(LoadAnaOutObject(f.file(), QStringLiteral("0x7501")).choices[0].texts[3], QStringLiteral("-10..+10 V"));
}

TEST(AnaOutObject, WhichRowsCount)
{
    const DescriptionFile f(R"(
[Object_Dig]
Name=Bits
Typ=1
BitNumber=0,1
[Object_Range]
Name=Number first
Typ=2
ValueRangeCaption=Wert
ValueMask0=0x00FF
ValueList0=1,2
ValueText0=a,b
ValueMask1=0x0300
ValueList1=0x0100,0x0200
ValueText1=c,d
[Object_Uneven]
Typ=2
ValueMask0=0x3
ValueList0=0,1,2
ValueText0=a,b
ValueMask1=0x30
ValueList1=0x10,0x20
ValueText1=e,f
ValueMask3=0x300
ValueList3=0x100
ValueText3=g
[Object_1234567]
Typ=2
ValueMask0=1
ValueList0=0,1
ValueText0=aus,ein
)");
    EXPECT_TRUE(LoadAnaOutObject(f.file(), QStringLiteral("Dig")).choices.empty()); // bit flags only
    const AnaOutObject range = LoadAnaOutObject(f.file(), QStringLiteral("Range"));
    ASSERT_EQ(range.choices.size(), 1u); // row 0 is the number field
    EXPECT_EQ(range.choices[0].texts, (QStringList{"c", "d"}));
    const AnaOutObject uneven = LoadAnaOutObject(f.file(), QStringLiteral("Uneven"));
    ASSERT_EQ(uneven.choices.size(), 2u); // row 0 has three values for two texts
    EXPECT_EQ(uneven.choices[0].texts, (QStringList{"e", "f"}));
    EXPECT_EQ(uneven.choices[1].texts, (QStringList{"g"}));
    // Identifiers are looked up with their first seven characters.
    const AnaOutObject cut = LoadAnaOutObject(f.file(), QStringLiteral("1234567890"));
    EXPECT_EQ(cut.id, QStringLiteral("1234567"));
    EXPECT_EQ(cut.choices.size(), 1u);
    // Unknown or no object: no rows.
    EXPECT_TRUE(LoadAnaOutObject(f.file(), QStringLiteral("0x9999")).choices.empty());
    EXPECT_TRUE(LoadAnaOutObject(f.file(), QString()).choices.empty());
    EXPECT_TRUE(LoadAnaOutObject(IniFile(QStringLiteral("/nonexistent/ModIO_NX.cfg")), QStringLiteral("0x7500"))
                    .choices.empty());
}

TEST(AnaOutObject, WordsAsTypeAndReaction)
{
    const DescriptionFile f;
    const AnaOutObject o = LoadAnaOutObject(f.file(), QStringLiteral("0x7500"));
    const AnaOutChoice &type = o.choices[0];
    const AnaOutChoice &reaction = o.choices[1];
    struct Case {
        qint32 word;
        const char *type;
        const char *reaction;
    };
    const Case cases[] = {
        {0x0000, "Kanal aus", "Ausgang 0"},
        {0x0102, "4..20 mA", "Ausgang 0"}, // the object's default
        {0x0113, "0..10 V", "letzten Wert halten"},
        {0x0105, "???", "Ausgang 0"}, // type bits 5: no entry
        {0x0021, "0..20 mA", "???"},  // reaction bits 0x20: no entry
        {-1, "???", "???"},
        {-32766, "4..20 mA", "Ausgang 0"}, // 0x8002: bits outside both rows do not matter
    };
    for (const Case &c : cases) {
        EXPECT_EQ(type.textOf(c.word), QString::fromLatin1(c.type)) << c.word;
        EXPECT_EQ(reaction.textOf(c.word), QString::fromLatin1(c.reaction)) << c.word;
    }

    struct Change {
        const AnaOutChoice *choice;
        qint32 word;
        int index;
        qint32 after;
    };
    const Change changes[] = {
        {&type, 0x0102, 3, 0x0103},     {&type, 0x0137, 1, 0x0131}, // wire break bit and reaction bits stay
        {&reaction, 0x0102, 1, 0x0112}, {&reaction, 0x0132, 0, 0x0102},
        {&type, 0x0105, -1, 0x0105},                        // no choice made: the word stays as read
        {&type, 0x0105, 4, 0x0105},     {&type, -1, 0, -8}, // 0xFFF8, sign-extended like every word of the block
    };
    for (const Change &c : changes)
        EXPECT_EQ(c.choice->applied(c.word, c.index), c.after) << c.word << " " << c.index;
}

TEST(AnaOutObject, ChannelsOfTheStation)
{
    const DescriptionFile f;
    const ModuleCatalogueTable catalogue = LoadModuleCatalogue(f.dir.path() + QLatin1Char('/'), 0);
    StationConfiguration config;
    // Slot 1 digital output, then variant B, an empty slot, variant A.
    config.SlotModuleIds = {0, 1, 133, 0, 5, 0, 0, 0, 0, 0};
    std::array<QString, AnaOutChannels> objects = AnaOutChannelObjects(config, catalogue);
    const QString a = QStringLiteral("0x7500"), c = QStringLiteral("0x7501");
    const std::array<QString, AnaOutChannels> expected = {a, a, c, c, a, a, a, a};
    EXPECT_EQ(objects, expected);

    // Five output modules: the first 16 channels.
    config.SlotModuleIds = {0, 69, 69, 69, 5, 133, 0, 0, 0, 0};
    objects = AnaOutChannelObjects(config, catalogue);
    EXPECT_EQ(objects[11], c);
    EXPECT_EQ(objects[12], a);
    EXPECT_EQ(objects[15], a);

    // A module the file does not describe counts for no channel.
    config.SlotModuleIds = {0, 200, 69, 0, 0, 0, 0, 0, 0, 0};
    objects = AnaOutChannelObjects(config, catalogue);
    EXPECT_EQ(objects[0], c);
    EXPECT_TRUE(objects[4].isEmpty());

    // Without a description file there is nothing to know.
    objects = AnaOutChannelObjects(config, ModuleCatalogueTable{});
    EXPECT_TRUE(objects[0].isEmpty());
}

} // namespace
