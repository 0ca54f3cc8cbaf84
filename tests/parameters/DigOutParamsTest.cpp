#include "parameters/DigOutParams.h"
#include "parameters/DigOutFrames.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

std::vector<int> bytes(const ModbusBuffer &frame, int from, int count)
{
    return std::vector<int>(frame.begin() + from, frame.begin() + from + count);
}

ModbusBuffer replyFrame(const std::vector<int> &pdu)
{
    ModbusBuffer rx{};
    for (size_t i = 0; i < pdu.size(); ++i)
        rx[6 + i] = quint8(pdu[i]);
    return rx;
}

TEST(DigOutFailStates, DisplayRulePerChannelBit)
{
    DigOutFailStates s;
    s.BehaviourBits[0] = 0x80; // channel 8 holds
    s.StateBits[0] = 0x81;     // channel 1 goes to 1; channel 8's state bit is carried along
    s.StateBits[1] = 0x03;     // channels 9 and 10
    s.BehaviourBits[8] = 0x80; // channel 72
    struct Case {
        int channel;
        DigOutChoice expected;
    };
    const Case cases[] = {{1, FailState1},  {2, FailState0},  {7, FailState0},  {8, LastValue},  {9, FailState1},
                          {10, FailState1}, {11, FailState0}, {16, FailState0}, {72, LastValue}, {71, FailState0}};
    for (const Case &c : cases)
        EXPECT_EQ(s.choiceOf(c.channel), c.expected) << "channel " << c.channel;
}

TEST(DigOutFailStates, ChoiceSequenceOnOneChannel)
{
    DigOutFailStates s;
    s.StateBits[1] = 0x04; // channel 11 goes to 1
    s.choose(11, LastValue);
    EXPECT_EQ(s.BehaviourBits[1], 0x04);
    EXPECT_EQ(s.StateBits[1], 0x04) << "the state bit is carried along";
    s.choose(11, FailState0);
    EXPECT_EQ(s.BehaviourBits[1], 0x00);
    EXPECT_EQ(s.StateBits[1], 0x00);
    s.choose(11, LastValue);
    EXPECT_EQ(s.BehaviourBits[1], 0x04);
    EXPECT_EQ(s.StateBits[1], 0x00);
    s.choose(11, FailState1);
    EXPECT_EQ(s.BehaviourBits[1], 0x00);
    EXPECT_EQ(s.StateBits[1], 0x04);
    // No other byte or bit was touched.
    for (size_t k = 0; k < 9; ++k) {
        if (k == 1)
            continue;
        EXPECT_EQ(s.BehaviourBits[k], 0) << k;
        EXPECT_EQ(s.StateBits[k], 0) << k;
    }
    // Outside 1..72 nothing changes.
    const DigOutFailStates before = s;
    s.choose(0, LastValue);
    s.choose(73, FailState1);
    EXPECT_EQ(s.BehaviourBits, before.BehaviourBits);
    EXPECT_EQ(s.StateBits, before.StateBits);
}

TEST(DigOutVisibility, MultiplesOfFourUpTo72)
{
    struct Case {
        int count;
        bool changes;
        int columns;
    };
    const Case cases[] = {{0, false, 0}, {3, false, 0}, {4, true, 1},  {8, true, 1},   {10, false, 0},
                          {12, true, 2}, {20, true, 3}, {72, true, 9}, {76, false, 0}, {-4, false, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.count);
        const DigOutVisibility v = DigOutVisibilityFor(c.count);
        EXPECT_EQ(v.changes, c.changes);
        EXPECT_EQ(v.columns, c.columns);
        EXPECT_EQ(v.channels, c.changes ? c.count : 0);
    }
}

TEST(DigOutFrames, RequestsCarryOneRegisterPerModule)
{
    DigOutFailStates s;
    s.BehaviourBits = {0x80, 0x00, 0xFF, 1, 2, 3, 4, 5, 6};
    s.StateBits = {0x01, 0x03, 0x0F, 7, 8, 9, 10, 11, 12};
    struct Case {
        int modules;
        int quantity;
    };
    for (const Case &c : {Case{1, 1}, Case{2, 2}, Case{9, 9}, Case{12, 9}}) {
        SCOPED_TRACE(c.modules);
        ModbusBuffer tx{};
        EXPECT_EQ(BuildDigOutReadRequest(tx, 8, c.modules), 12);
        EXPECT_EQ(bytes(tx, 6, 6), (std::vector<int>{8, 4, 0x26, 0x00, 0, c.quantity}));

        ModbusBuffer w{};
        EXPECT_EQ(BuildDigOutWriteRequest(w, 8, c.modules, s), 13 + 2 * c.quantity);
        EXPECT_EQ(bytes(w, 6, 7), (std::vector<int>{8, 0x10, 0x26, 0x00, 0, c.quantity, 2 * c.quantity}));
        EXPECT_EQ(bytes(w, 13, 2), (std::vector<int>{0x80, 0x01}));
        EXPECT_EQ(bytes(w, 11 + 2 * c.quantity, 2),
                  (std::vector<int>{s.BehaviourBits[size_t(c.quantity - 1)], s.StateBits[size_t(c.quantity - 1)]}));
        EXPECT_EQ(w[size_t(13 + 2 * c.quantity)], 0); // nothing behind the last register
    }
}

TEST(DigOutFrames, WriteLineOfOneModuleWithBothBytesZero)
{
    ModbusBuffer tx{};
    tx[0] = 0x01; // the header as the previous frame left it
    tx[1] = 0x2C;
    tx[5] = 0x06;
    ASSERT_EQ(BuildDigOutWriteRequest(tx, 8, 1, DigOutFailStates{}), 15);
    EXPECT_EQ(bytes(tx, 13, 2), (std::vector<int>{0, 0}));
    EXPECT_EQ(DigOutWriteMemoLine(tx, 1), QStringLiteral("2600Scheiben: 01 2C 00 00 00 06 08 10 26 00 00 01 02 0000"));

    DigOutFailStates s;
    s.BehaviourBits[1] = 0xA5;
    s.StateBits[1] = 0x0F;
    BuildDigOutWriteRequest(tx, 0x11, 2, s);
    EXPECT_EQ(DigOutWriteMemoLine(tx, 2),
              QStringLiteral("2600Scheiben: 01 2C 00 00 00 06 11 10 26 00 00 02 04 0000A50F"));
}

TEST(DigOutFrames, ReadReplyIntoTheBitsWithItsLines)
{
    const ModbusBuffer rx = replyFrame({8, 4, 4, 0x80, 0x01, 0x00, 0x03});
    DigOutFailStates s;
    s.BehaviourBits[2] = 0x55; // a module not read keeps its bits
    QStringList lines;
    ASSERT_TRUE(DecodeDigOutReply(rx, 6 + 7, 2, s, lines));
    EXPECT_EQ(s.BehaviourBits[0], 0x80);
    EXPECT_EQ(s.StateBits[0], 0x01);
    EXPECT_EQ(s.BehaviourBits[1], 0x00);
    EXPECT_EQ(s.StateBits[1], 0x03);
    EXPECT_EQ(s.BehaviourBits[2], 0x55);
    EXPECT_EQ(lines, (QStringList{"Verhalten: 0| 80", "State: 0| 01", "Verhalten: 1| 00", "State: 1| 03"}));

    // A reply that does not hold every module changes nothing.
    DigOutFailStates t;
    QStringList none;
    EXPECT_FALSE(DecodeDigOutReply(rx, 6 + 7, 3, t, none));
    EXPECT_EQ(t.BehaviourBits[0], 0);
    EXPECT_TRUE(none.isEmpty());
    EXPECT_FALSE(DecodeDigOutReply(rx, 6 + 5, 2, t, none)) << "only four of the data bytes arrived";
}

TEST(DigOutFrames, WriteReplyLines)
{
    ModbusBuffer rx = replyFrame({8, 0x10, 0x26, 0x00, 0x00, 0x02});
    rx[1] = 0x07;
    rx[5] = 0x06;
    EXPECT_EQ(DigOutWriteReplyMemoLines(rx, 12),
              (QStringList{"Antwort : Anzahl: 0C", "  Data :   00  07  00  00  00  06  08  10  26  00  00  02"}));
    // Serial: six, the reply and its CRC; three hex digits once the count needs them.
    EXPECT_EQ(DigOutWriteReplyMemoLines(rx, 14).first(), QStringLiteral("Antwort : Anzahl: 0E"));
    EXPECT_EQ(DigOutWriteReplyMemoLines(rx, 264).first(), QStringLiteral("Antwort : Anzahl: 108"));
    EXPECT_EQ(DigOutAnswerLine(QStringLiteral("Timeout")), QStringLiteral("Antwort : Timeout"));
}

} // namespace
