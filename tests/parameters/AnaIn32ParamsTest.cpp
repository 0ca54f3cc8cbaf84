#include "parameters/AnaIn32Params.h"

#include <gtest/gtest.h>

namespace
{

TEST(AnaIn32Params, TypeText)
{
    EXPECT_EQ(TypeText(71), QStringLiteral("4mV/V"));
    EXPECT_EQ(TypeText(0), QStringLiteral("???"));
    EXPECT_EQ(TypeText(72), QStringLiteral("???"));
    // Only bits 0..7 are the type, whatever the switches and the sign.
    EXPECT_EQ(TypeText(static_cast<qint16>(0xF847)), QStringLiteral("4mV/V"));
    EXPECT_EQ(TypeText(0x4700), QStringLiteral("???"));
}

TEST(AnaIn32Params, SwitchesOfSetupWord)
{
    struct Case {
        qint32 word;
        bool aktiv, spike, scale, format32, value;
    };
    const Case cases[] = {
        {0x0047, true, true, false, false, false},
        {0x0800, true, true, false, false, true},
        {0x1000, true, true, false, true, false},
        {0x2000, true, true, true, false, false},
        {0x4000, true, false, false, false, false},
        {static_cast<qint16>(0x8000), false, true, false, false, false},
        {static_cast<qint16>(0xFFFF), false, false, true, true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.word);
        const SetupSwitches s = SwitchesOf(c.word);
        EXPECT_EQ(s.Aktiv, c.aktiv);
        EXPECT_EQ(s.Spike, c.spike);
        EXPECT_EQ(s.Scale, c.scale);
        EXPECT_EQ(s.Format32, c.format32);
        EXPECT_EQ(s.Value, c.value);
    }
}

TEST(AnaIn32Params, RebuiltSetupWordAlwaysCarriesTheStrainGaugeType)
{
    EXPECT_EQ(RebuildSetupWord(SetupSwitches{}), 71); // active, spike filter on
    EXPECT_EQ(RebuildSetupWord({false, false, true, true, true}), 71 + 0x8000 + 0x4000 + 0x2000 + 0x1000 + 0x0800);
    // Whatever was read (type 0, bits 8..10 set), writing keeps only the switches.
    EXPECT_EQ(RebuildSetupWord(SwitchesOf(0x0700)), 71);
    EXPECT_EQ(RebuildSetupWord(SwitchesOf(0x2F12)), 71 + 0x2000 + 0x0800);
}

TEST(AnaIn32Params, ModeWordOfTheEdgeCase)
{
    // 0x3311: filter 51, output "Netto", format "Null".
    EXPECT_EQ(FilterOf(0x3311), 51);
    EXPECT_EQ(OutputIndexOf(0x3311), 1);
    EXPECT_EQ(FormatIndexOf(0x3311), 1);
}

TEST(AnaIn32Params, SelectionsWithoutAnEntry)
{
    EXPECT_EQ(OutputIndexOf(0x0003), 3);
    EXPECT_EQ(OutputIndexOf(0x0004), -1);
    EXPECT_EQ(OutputIndexOf(0x0007), -1);
    EXPECT_EQ(OutputIndexOf(0x0008), 0); // bit 3 is not part of the output
    EXPECT_EQ(FormatIndexOf(0x0040), 4);
    EXPECT_EQ(FormatIndexOf(0x0050), -1);
    EXPECT_EQ(FormatIndexOf(0x0080), 0); // bit 7 is not part of the format
}

TEST(AnaIn32Params, SelectionChangesByRow)
{
    // Rows 1 and 2 clear bit 3 (output) and bit 7 (format); rows 3..16 keep them.
    struct Case {
        int row;
        qint32 before;
        int index;
        qint32 output, format;
    };
    const Case cases[] = {
        {1, 0x3388, 2, 0x3382, 0x3328},
        {2, 0x3388, 0, 0x3380, 0x3308},
        {3, 0x3388, 2, 0x338A, 0x33A8},
        {16, 0x3388, 0, 0x3388, 0x3388},
        {1, 0x33FF, 1, 0x33F1, 0x331F},
        {5, 0x33FF, 1, 0x33F9, 0x339F},
        {1, 0x3300, -1, 0x3307, 0x3370}, // no selection counts as 7
        {4, 0x3300, -1, 0x3307, 0x3370},
        // Bits 8..15 stay; a sign-extended word loses its upper bits.
        {3, static_cast<qint16>(0xAB00), 3, 0xAB03, 0xAB30},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << " index " << c.index << " word " << std::hex << c.before);
        EXPECT_EQ(WithOutput(c.before, c.row, c.index), c.output);
        EXPECT_EQ(WithFormat(c.before, c.row, c.index), c.format);
    }
}

TEST(AnaIn32Params, FilterReplacesOnlyBits8To15)
{
    EXPECT_EQ(WithFilter(0x3311, 100), 0x6411);
    EXPECT_EQ(WithFilter(0x00FF, 255), 0xFFFF);
    EXPECT_EQ(WithFilter(0xFF00, 1), 0x0100);
    EXPECT_EQ(LimitFilter(0), 1);
    EXPECT_EQ(LimitFilter(-7), 1);
    EXPECT_EQ(LimitFilter(51), 51);
    EXPECT_EQ(LimitFilter(300), 255);
}

TEST(AnaIn32Params, Int32Texts)
{
    EXPECT_EQ(ParseInt32(QStringLiteral("10000")), 10000);
    EXPECT_EQ(ParseInt32(QStringLiteral(" -500")), -500);
    EXPECT_EQ(ParseInt32(QStringLiteral("$10")), 16);
    EXPECT_EQ(ParseInt32(QStringLiteral("2147483647")), 2147483647);
    EXPECT_EQ(ParseInt32(QStringLiteral("-2147483648")), -2147483647 - 1);
    for (const char *bad : {"", "-", "12a", "2147483648", "-2147483649", "99999999999"})
        EXPECT_FALSE(ParseInt32(QString::fromLatin1(bad)).has_value()) << bad;
}

} // namespace
