#include "parameters/AnaInParams.h"
#include "parameters/AnaInLayout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

TEST(AnaInParams, TypeListAndCodes)
{
    const QStringList texts = SensorTypeTexts();
    ASSERT_EQ(texts.size(), 17);
    EXPECT_EQ(texts[0], QStringLiteral("0 ... 10 V"));
    EXPECT_EQ(texts[1], QStringLiteral("-3...3V"));
    EXPECT_EQ(texts[15], QStringLiteral("TC Typ W"));
    EXPECT_EQ(texts[16], QStringLiteral("???"));

    struct Case {
        qint32 setupWord;
        int index;
    };
    const Case cases[] = {
        {40, 0},     {42, 1},     {41, 2},     {51, 3},  {52, 4},
        {30, 5},     {1, 6},      {5, 10},     {10, 15}, {0, 16}, // every row of the list
        {99, 0},     {11, 0},     {255, 0},                       // codes the list does not know: the first entry
        {0x8028, 0}, {-32728, 0}, {0x7F33, 3},                    // only bits 0..7 count
    };
    for (const Case &c : cases)
        EXPECT_EQ(SensorTypeIndexOf(c.setupWord), c.index) << c.setupWord;
    for (int i = 0; i < SensorTypeCount; ++i)
        EXPECT_EQ(SensorTypeIndexOf(SensorTypeTable[size_t(i)].code), i) << i;
}

TEST(AnaInParams, TypeSelectionReplacesTheLowByte)
{
    struct Case {
        qint32 before;
        int index;
        qint32 after;
    };
    const Case cases[] = {
        {0x8763, 3, 0x8733},  // 4 ... 20 mA is code 51
        {0x0063, 16, 0x0000}, // "???" is code 0
        {0x4563, -1, 0x4500}, // no selection: code 0
        {-32728, 7, 0x8002},  // a sign-extended word keeps only its 16 bits
        {0x1263, 99, 0x1200}, // out of the list: code 0
    };
    for (const Case &c : cases)
        EXPECT_EQ(WithSensorType(c.before, c.index), c.after) << c.before << " " << c.index;
}

TEST(AnaInParams, Units)
{
    const QStringList units = UnitTexts();
    ASSERT_EQ(units.size(), 7);
    EXPECT_EQ(units[0], QStringLiteral("???"));
    EXPECT_EQ(units[4], QString::fromUtf8("°C/10"));
    EXPECT_EQ(units[4].at(0).unicode(), 0xB0); // the degree sign, one character
    EXPECT_EQ(units[6], QString::fromUtf8("°F/10"));

    EXPECT_EQ(UnitIndexOf(0x0000), 0);
    EXPECT_EQ(UnitIndexOf(0x0428), 4);
    EXPECT_EQ(UnitIndexOf(0x0728), 7);
    EXPECT_EQ(UnitIndexOf(0xF8FF), 0);

    EXPECT_EQ(WithUnit(0x0028, 2), 0x0228);
    EXPECT_EQ(WithUnit(0xFFFF, 0), 0xF8FF);
    EXPECT_EQ(WithUnit(0x0028, -1), 0x0728); // no selection gives 7
}

TEST(AnaInParams, Switches)
{
    struct Case {
        qint32 word;
        bool aktiv, spike, scale;
    };
    const Case cases[] = {
        {0x0000, true, true, false},
        {0x8028, false, true, false},
        {0x6000, true, false, true},
        {-16384, false, false, false}, // 0xC000 sign-extended
    };
    for (const Case &c : cases) {
        const AnaInSwitches s = AnaInSwitchesOf(c.word);
        EXPECT_EQ(s.Aktiv, c.aktiv) << c.word;
        EXPECT_EQ(s.Spike, c.spike) << c.word;
        EXPECT_EQ(s.Scale, c.scale) << c.word;
    }

    struct Gather {
        qint32 before;
        AnaInSwitches s;
        qint32 after;
    };
    const Gather gathers[] = {
        {0x0000, {false, false, false}, 0xC000}, // boxes as created: inactive, spike filter off
        {0x0000, {true, true, false}, 0x0000},   {0x0000, {true, true, true}, 0x2000},
        {0xF8FF, {true, true, false}, 0x18FF}, // bits 0..12 stay
        {0x9F28, {false, true, true}, 0xBF28},
    };
    for (const Gather &g : gathers)
        EXPECT_EQ(WithAnaInSwitches(g.before, g.s) & 0xFFFF, g.after) << g.before;
}

TEST(AnaInParams, LimitToRange)
{
    EXPECT_EQ(LimitToRange(0, AnaInFilterMin, AnaInFilterMax), 1);
    EXPECT_EQ(LimitToRange(300, AnaInFilterMin, AnaInFilterMax), 255);
    EXPECT_EQ(LimitToRange(51, AnaInFilterMin, AnaInFilterMax), 51);
    EXPECT_EQ(LimitToRange(-32768, AnaInOffsetMin, AnaInOffsetMax), -32767);
    EXPECT_EQ(LimitToRange(qint64(1) << 40, AnaInOffsetMin, AnaInOffsetMax), 32767);
}

TEST(AnaInLayout, ActivationFormula)
{
    struct Case {
        int n, h, memo;
        int group, top, client;
    };
    const Case cases[] = {
        {4, 24, 96, 216, 234, 360}, // 4 x 1.75 x 24 + 48
        {0, 24, 96, 48, 66, 192},    {16, 24, 96, 720, 738, 864},
        {3, 21, 80, 152, 168, 274},  // 110.25 + 42 rounds to 152; 152 + 15.75 to 168
        {16, 19, 76, 570, 584, 684}, // 532 + 38; 570 + 14.25
    };
    for (const Case &c : cases) {
        const AnaInLayout l = AnaInActivationLayout(c.n, c.h, c.memo);
        EXPECT_EQ(l.groupHeight, c.group) << c.n << " " << c.h;
        EXPECT_EQ(l.controlsTop, c.top) << c.n << " " << c.h;
        EXPECT_EQ(l.clientHeight, c.client) << c.n << " " << c.h;
    }
    // The first row goes below the headings, but never so low that sixteen rows
    // leave the group box of sixteen.
    EXPECT_EQ(AnaInFirstRowTop(20, 10), 38);
    EXPECT_EQ(AnaInFirstRowTop(20, 45), 45);
    EXPECT_EQ(AnaInFirstRowTop(20, 90), 53);
    for (int h : {19, 24, 30})
        for (int headings : {0, 2 * h, 10 * h}) {
            const int first = AnaInFirstRowTop(h, headings);
            EXPECT_EQ(AnaInRowTop(2, h, first) - first, std::lround(1.75 * h)) << h;
            EXPECT_LE(AnaInRowTop(16, h, first) + h, AnaInActivationLayout(16, h, 0).groupHeight) << h;
        }
}

} // namespace
