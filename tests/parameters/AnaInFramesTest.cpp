#include "parameters/AnaInFrames.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

std::vector<int> bytes(const ModbusBuffer &frame, int from, int count)
{
    return std::vector<int>(frame.begin() + from, frame.begin() + from + count);
}

// Every channel as written after start-up: inactive, spike filter off, filter 51, offset 0.
AnaInBlock defaults()
{
    AnaInBlock block;
    for (AnaInRecord &r : block)
        r = {-16384, 51, 0};
    return block;
}

TEST(AnaInFrames, ReadRequests)
{
    struct Case {
        int count;
        std::vector<int> request;
        const char *memo;
    };
    const Case cases[] = {
        {0, {8, 4, 0x20, 0x00, 0, 0}, "0 0 0 0 0 0 8 4 32 0 0 0 "},
        {4, {8, 4, 0x20, 0x00, 0, 12}, "0 0 0 0 0 0 8 4 32 0 0 12 "},
        {16, {8, 4, 0x20, 0x00, 0, 48}, "0 0 0 0 0 0 8 4 32 0 0 48 "},
        {20, {8, 4, 0x20, 0x00, 0, 48}, "0 0 0 0 0 0 8 4 32 0 0 48 "}, // the 16 channels the window holds
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.count);
        ModbusBuffer tx{};
        EXPECT_EQ(BuildAnaInReadRequest(tx, 8, c.count), 12);
        EXPECT_EQ(bytes(tx, 6, 6), c.request);
        EXPECT_EQ(FrameBytesMemoLine(tx, 12), QString::fromLatin1(c.memo));
    }
    // The memo shows the header room as it stands.
    ModbusBuffer tx{};
    tx[1] = 7;
    tx[5] = 6;
    BuildAnaInReadRequest(tx, 1, 4);
    EXPECT_EQ(FrameBytesMemoLine(tx, 12), QStringLiteral("0 7 0 0 0 6 1 4 32 0 0 12 "));
}

TEST(AnaInFrames, WriteRequestOfNoChannel)
{
    ModbusBuffer tx{};
    EXPECT_EQ(BuildAnaInWriteRequest(tx, 8, 0, defaults()), 13);
    EXPECT_EQ(bytes(tx, 6, 8), (std::vector<int>{8, 0x10, 0x20, 0x00, 0, 0, 0, 0}));
    EXPECT_EQ(FrameBytesMemoLine(tx, 13), QStringLiteral("0 0 0 0 0 0 8 16 32 0 0 0 0 "));
    EXPECT_EQ(AnaInWriteDataMemoLine(defaults(), 0), QStringLiteral(" "));
}

TEST(AnaInFrames, WriteRequestOfFourChannels)
{
    AnaInBlock block = defaults();
    block[1] = {0x8028, 0, -10};         // channel 2
    block[3] = {-32728, 255, 32767};     // channel 4, sign-extended
    block[4] = {0x1111, 0x2222, 0x3333}; // channel 5 is not sent
    ModbusBuffer tx{};
    EXPECT_EQ(BuildAnaInWriteRequest(tx, 8, 4, block), 13 + 24);
    EXPECT_EQ(bytes(tx, 6, 7), (std::vector<int>{8, 0x10, 0x20, 0x00, 0, 12, 24}));
    EXPECT_EQ(bytes(tx, 13, 25), (std::vector<int>{0xC0, 0,    0, 51,  0,    0,    //
                                                   0x80, 0x28, 0, 0,   0xFF, 0xF6, //
                                                   0xC0, 0,    0, 51,  0,    0,    //
                                                   0x80, 0x28, 0, 255, 0x7F, 0xFF, //
                                                   0}));
    EXPECT_EQ(FrameBytesMemoLine(tx, 13), QStringLiteral("0 0 0 0 0 0 8 16 32 0 0 12 24 "));
    EXPECT_EQ(AnaInWriteDataMemoLine(block, 4),
              QStringLiteral(" 192 0 0 51 0 0 128 40 0 0 255 246 192 0 0 51 0 0 128 40 0 255 127 255 "));
}

TEST(AnaInFrames, WriteRequestOfSixteenChannels)
{
    AnaInBlock block = defaults();
    for (int i = 0; i < 16; ++i)
        block[size_t(i)].OffsetValue = i - 8;
    ModbusBuffer tx{};
    EXPECT_EQ(BuildAnaInWriteRequest(tx, 8, 16, block), 109);
    EXPECT_EQ(bytes(tx, 6, 7), (std::vector<int>{8, 0x10, 0x20, 0x00, 0, 48, 96}));
    EXPECT_EQ(bytes(tx, 13, 6), (std::vector<int>{0xC0, 0, 0, 51, 0xFF, 0xF8}));
    EXPECT_EQ(bytes(tx, 13 + 15 * 6, 6), (std::vector<int>{0xC0, 0, 0, 51, 0, 7}));
    QString memo = QStringLiteral(" ");
    for (int i = 0; i < 16; ++i) {
        const int offset = (i - 8) & 0xFFFF;
        memo += QStringLiteral("192 0 0 51 %1 %2 ").arg(offset >> 8).arg(offset & 0xFF);
    }
    EXPECT_EQ(AnaInWriteDataMemoLine(block, 16), memo);
    EXPECT_EQ(FrameBytesMemoLine(tx, 13), QStringLiteral("0 0 0 0 0 0 8 16 32 0 0 48 96 "));
    // More than 16 channels: still the 16 the window holds.
    ModbusBuffer more{};
    EXPECT_EQ(BuildAnaInWriteRequest(more, 8, 40, block), 109);
    EXPECT_EQ(more, tx);
}

// A read reply of `words` as the serial link stores it (unit identifier at 6).
struct Reply {
    explicit Reply(const std::vector<quint16> &words, int byteCount = -1)
    {
        rx[6] = 8;
        rx[7] = 4;
        rx[8] = quint8(byteCount < 0 ? 2 * words.size() : byteCount);
        int at = 9;
        for (quint16 w : words) {
            rx[size_t(at++)] = quint8(w >> 8);
            rx[size_t(at++)] = quint8(w);
        }
        count = quint16(at);
    }
    ModbusBuffer rx{};
    quint16 count = 0;
};

TEST(AnaInFrames, DecodeFourChannels)
{
    const Reply r({0x8028, 0x0033, 0xFFF6, 0x0063, 0x0000, 0x0001, 0x0700, 0x00FF, 0x8000, 0x2000, 0x0100, 0x7FFF});
    AnaInBlock block = defaults();
    QStringList lines;
    ASSERT_TRUE(DecodeAnaInReply(r.rx, r.count, 4, block, lines));
    EXPECT_EQ(block[0].SetupWord, -32728);
    EXPECT_EQ(block[0].FilterValue, 51);
    EXPECT_EQ(block[0].OffsetValue, -10);
    EXPECT_EQ(block[2].OffsetValue, -32768);
    EXPECT_EQ(block[3].OffsetValue, 32767);
    EXPECT_EQ(block[4].SetupWord, -16384); // not read
    const QStringList expected = {"0 :FFFF8028", "0 :0033", "0 :FFFFFFF6", "1 :0063", "1 :0000", "1 :0001",
                                  "2 :0700",     "2 :00FF", "2 :FFFF8000", "3 :2000", "3 :0100", "3 :7FFF"};
    EXPECT_EQ(lines, expected);
}

TEST(AnaInFrames, DecodeSixteenChannels)
{
    std::vector<quint16> words;
    for (int i = 0; i < 16; ++i)
        words.insert(words.end(), {quint16(0x0100 + i), quint16(i + 1), quint16(0x8000 + i)});
    const Reply r(words);
    AnaInBlock block{};
    QStringList lines;
    ASSERT_TRUE(DecodeAnaInReply(r.rx, r.count, 16, block, lines));
    ASSERT_EQ(lines.size(), 48);
    EXPECT_EQ(lines[45], QStringLiteral("15 :010F"));
    EXPECT_EQ(lines[47], QStringLiteral("15 :FFFF800F"));
    EXPECT_EQ(block[15].FilterValue, 16);
}

TEST(AnaInFrames, DecodeRefusesWhatTheReplyDoesNotHold)
{
    struct Case {
        const char *what;
        std::vector<quint16> words;
        int byteCount;
        int channels;
    };
    const Case cases[] = {
        {"one channel of two", {1, 2, 3}, -1, 2},
        {"byte count short of the data", {1, 2, 3, 4, 5, 6}, 10, 2},
        {"nothing", {}, -1, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const Reply r(c.words, c.byteCount);
        AnaInBlock block = defaults();
        QStringList lines;
        EXPECT_FALSE(DecodeAnaInReply(r.rx, r.count, c.channels, block, lines));
        EXPECT_TRUE(lines.isEmpty());
        EXPECT_EQ(block[0].SetupWord, -16384);
        EXPECT_EQ(block[1].FilterValue, 51);
    }
    // Received bytes count, not the told byte count alone.
    Reply cut({1, 2, 3, 4, 5, 6});
    AnaInBlock block = defaults();
    QStringList lines;
    EXPECT_FALSE(DecodeAnaInReply(cut.rx, quint16(cut.count - 1), 2, block, lines));
    // No channel: nothing to take, nothing refused.
    EXPECT_TRUE(DecodeAnaInReply(Reply({}).rx, 9, 0, block, lines));
    EXPECT_TRUE(lines.isEmpty());
}

} // namespace
