#include "parameters/AnaIn32Frames.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

std::vector<int> bytes(const ModbusBuffer &b, int from, int count)
{
    return std::vector<int>(b.begin() + from, b.begin() + from + count);
}

// A read reply as it stands in RxFrame after a TCP receive: header, unit id,
// function code, byte count, data; returns RxCount.
quint16 putReadReply(ModbusBuffer &rx, const std::vector<quint8> &data)
{
    rx.fill(0xEE); // what an earlier frame may have left
    rx[6] = 8;
    rx[7] = 4;
    rx[8] = static_cast<quint8>(data.size());
    std::copy(data.begin(), data.end(), rx.begin() + 9);
    return static_cast<quint16>(9 + data.size());
}

std::vector<quint8> channelBytes(quint16 setup, quint16 mode, quint32 lower, quint32 upper, quint32 field)
{
    std::vector<quint8> b = {quint8(setup >> 8), quint8(setup), quint8(mode >> 8), quint8(mode)};
    for (quint32 v : {lower, upper, field})
        for (int shift : {24, 16, 8, 0})
            b.push_back(quint8(v >> shift));
    return b;
}

TEST(AnaIn32Frames, SplitIntoRequestsThatFit)
{
    using R = std::vector<ChannelRange>;
    EXPECT_EQ(SplitChannels(0), (R{{0, 0}}));
    EXPECT_EQ(SplitChannels(2), (R{{0, 2}}));
    EXPECT_EQ(SplitChannels(15), (R{{0, 15}}));
    EXPECT_EQ(SplitChannels(16), (R{{0, 15}, {15, 1}}));
    EXPECT_EQ(SplitChannels(40), (R{{0, 15}, {15, 1}})); // the window holds 16
    EXPECT_EQ(SplitChannels(-1), (R{{0, 0}}));
}

TEST(AnaIn32Frames, ReadRequests)
{
    struct Case {
        ChannelRange range;
        std::vector<int> frame;
        const char *memo;
    };
    const Case cases[] = {
        {{0, 2}, {8, 4, 0x22, 0x00, 0, 16}, "8 4 34 0 0 16"},
        {{0, 0}, {8, 4, 0x22, 0x00, 0, 0}, "8 4 34 0 0 0"},
        {{0, 15}, {8, 4, 0x22, 0x00, 0, 120}, "8 4 34 0 0 120"},
        {{15, 1}, {8, 4, 0x22, 0x78, 0, 8}, "8 4 34 120 0 8"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.memo);
        ModbusBuffer tx{};
        EXPECT_EQ(BuildReadRequest(tx, 8, c.range), 12);
        EXPECT_EQ(bytes(tx, 6, 6), c.frame);
        EXPECT_EQ(RequestMemoLine(tx, 6), QString::fromLatin1(c.memo));
    }
}

TEST(AnaIn32Frames, WriteRequestOfTwoChannels)
{
    AnaIn32Block block{};
    block[0] = {71, 0x3311, -2, 10000, 0x01020304};
    block[1] = {71 + 0x8000, 0x3300, 0, -1, 10000};
    block[2] = {1, 2, 3, 4, 5}; // not part of the request
    ModbusBuffer tx{};
    EXPECT_EQ(BuildWriteRequest(tx, 8, {0, 2}, block), 13 + 32);
    EXPECT_EQ(bytes(tx, 6, 7), (std::vector<int>{8, 0x10, 0x22, 0x00, 0, 16, 32}));
    EXPECT_EQ(bytes(tx, 13, 16),
              (std::vector<int>{0, 71, 0x33, 0x11, 0xFF, 0xFF, 0xFF, 0xFE, 0, 0, 0x27, 0x10, 1, 2, 3, 4}));
    EXPECT_EQ(bytes(tx, 29, 16),
              (std::vector<int>{0x80, 71, 0x33, 0x00, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0x27, 0x10}));
    EXPECT_EQ(RequestMemoLine(tx, 7), QStringLiteral("8 16 34 0 0 16 32"));
    EXPECT_EQ(WriteDataMemoLine(block, {0, 2}), QStringLiteral(" 0 71 51 17 128 71 51 0 "));
}

TEST(AnaIn32Frames, WriteRequestsOfSixteenChannels)
{
    AnaIn32Block block{};
    for (int i = 0; i < 16; ++i)
        block[size_t(i)] = {71, 0x3300 + i, i, 1000 * i, -i};
    const std::vector<ChannelRange> parts = SplitChannels(16);
    ASSERT_EQ(parts.size(), 2u);

    ModbusBuffer tx{};
    EXPECT_EQ(BuildWriteRequest(tx, 8, parts[0], block), 253); // the longest frame the length byte holds
    EXPECT_EQ(bytes(tx, 6, 7), (std::vector<int>{8, 0x10, 0x22, 0x00, 0, 120, 240}));
    EXPECT_EQ(bytes(tx, 13 + 16 * 14, 4), (std::vector<int>{0, 71, 0x33, 14}));

    EXPECT_EQ(BuildWriteRequest(tx, 8, parts[1], block), 13 + 16);
    EXPECT_EQ(bytes(tx, 6, 7), (std::vector<int>{8, 0x10, 0x22, 0x78, 0, 8, 16}));
    EXPECT_EQ(bytes(tx, 13, 16),
              (std::vector<int>{0, 71, 0x33, 15, 0, 0, 0, 15, 0, 0, 0x3A, 0x98, 0xFF, 0xFF, 0xFF, 0xF1}));
    EXPECT_EQ(WriteDataMemoLine(block, parts[1]), QStringLiteral(" 0 71 51 15 "));
}

TEST(AnaIn32Frames, DecodeReadReply)
{
    std::vector<quint8> data = channelBytes(0x0047, 0x3311, 0, 10000, 10000);
    const std::vector<quint8> second = channelBytes(0xC800, 0xFF8F, 0xFFFFFE0C, 0x7FFFFFFF, 0x80000000);
    data.insert(data.end(), second.begin(), second.end());
    ModbusBuffer rx{};
    const quint16 count = putReadReply(rx, data);

    AnaIn32Block block{};
    block[2].ModeWord = 0x1234; // beyond the range: untouched
    QStringList memo;
    ASSERT_TRUE(DecodeReadReply(rx, count, {0, 2}, block, memo));
    EXPECT_EQ(block[0].SetupWord, 71);
    EXPECT_EQ(block[0].ModeWord, 0x3311);
    EXPECT_EQ(block[0].UpperProValue, 10000);
    EXPECT_EQ(block[1].SetupWord, -14336); // 0xC800 sign-extended
    EXPECT_EQ(block[1].ModeWord, -113);    // 0xFF8F
    EXPECT_EQ(block[1].LowerProValue, -500);
    EXPECT_EQ(block[1].UpperProValue, 2147483647);
    EXPECT_EQ(block[1].UpperFieldValue, -2147483647 - 1);
    EXPECT_EQ(block[2].ModeWord, 0x1234);
    const QStringList expected = {QStringLiteral("0 :0047"),     QStringLiteral("0 :3311"),
                                  QStringLiteral("0 :00000000"), QStringLiteral("0 :00002710"),
                                  QStringLiteral("0 :00002710"), QStringLiteral("1 :FFFFC800"),
                                  QStringLiteral("1 :FFFFFF8F"), QStringLiteral("1 :FFFFFE0C"),
                                  QStringLiteral("1 :7FFFFFFF"), QStringLiteral("1 :80000000")};
    EXPECT_EQ(memo, expected);
}

TEST(AnaIn32Frames, DecodedChannelsCountFromTheRangesFirst)
{
    ModbusBuffer rx{};
    const quint16 count = putReadReply(rx, channelBytes(0x0047, 0x0100, 1, 2, 3));
    AnaIn32Block block{};
    QStringList memo;
    ASSERT_TRUE(DecodeReadReply(rx, count, {15, 1}, block, memo));
    EXPECT_EQ(block[15].UpperFieldValue, 3);
    EXPECT_EQ(block[0].UpperFieldValue, 0);
    EXPECT_EQ(memo.first(), QStringLiteral("15 :0047"));
}

TEST(AnaIn32Frames, ShortRepliesAreNotDecoded)
{
    const std::vector<quint8> one = channelBytes(0x0047, 0x3311, 5, 6, 7);
    struct Case {
        const char *name;
        int dataBytes;     // put into RxFrame
        int byteCount;     // the reply's own count
        int rxCountOffset; // added to the RxCount of a TCP reply
        bool decoded;
    };
    const Case cases[] = {
        {"whole reply", 32, 32, 0, true},
        {"one channel of two", 16, 16, 0, false},
        {"one byte missing", 31, 31, 0, false},
        {"byte count claims more than arrived", 16, 32, 0, false},
        {"RTU: CRC bytes behind a short block are no data", 30, 30, 2, false},
        {"RTU: whole block and CRC", 32, 32, 2, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<quint8> data = one;
        data.insert(data.end(), one.begin(), one.end());
        data.resize(size_t(c.dataBytes));
        ModbusBuffer rx{};
        const quint16 count = putReadReply(rx, data) + c.rxCountOffset;
        rx[8] = quint8(c.byteCount);
        AnaIn32Block block{};
        QStringList memo;
        EXPECT_EQ(DecodeReadReply(rx, count, {0, 2}, block, memo), c.decoded);
        if (!c.decoded) {
            EXPECT_EQ(block[0].SetupWord, 0);
            EXPECT_TRUE(memo.isEmpty());
        }
    }
}

TEST(AnaIn32Frames, FifteenChannelReplyFitsRxFrame)
{
    std::vector<quint8> data;
    for (int i = 0; i < 15; ++i) {
        const std::vector<quint8> c = channelBytes(71, quint16(0x3300 + i), 0, 0, quint32(i));
        data.insert(data.end(), c.begin(), c.end());
    }
    ModbusBuffer rx{};
    const quint16 count = putReadReply(rx, data);
    EXPECT_EQ(count, 249);
    AnaIn32Block block{};
    QStringList memo;
    ASSERT_TRUE(DecodeReadReply(rx, count, {0, 15}, block, memo));
    EXPECT_EQ(block[14].UpperFieldValue, 14);
    EXPECT_EQ(memo.size(), 75);
}

TEST(AnaIn32Frames, WriteReplyMemoShowsOnlyReceivedBytes)
{
    ModbusBuffer rx{};
    rx.fill(0xEE);
    const std::vector<quint8> reply = {8, 0x10, 0x22, 0x00, 0x00, 0x10, 0xAB, 0xCD};
    std::copy(reply.begin(), reply.end(), rx.begin() + 6);
    EXPECT_EQ(WriteReplyMemoLine(rx, 12), QStringLiteral("0 0 16"));         // TCP
    EXPECT_EQ(WriteReplyMemoLine(rx, 14), QStringLiteral("0 0 16 171 205")); // RTU with CRC
    EXPECT_EQ(WriteReplyMemoLine(rx, 9), QString());                         // TCP exception
    EXPECT_EQ(WriteReplyMemoLine(rx, 264), QStringLiteral("0 0 16 171 205 238"));
}

TEST(AnaIn32Frames, ExceptionTexts)
{
    EXPECT_EQ(BareExceptionText(1), QStringLiteral("Illegal Function"));
    EXPECT_EQ(BareExceptionText(2), QStringLiteral("Illegal Data Adress"));
    EXPECT_EQ(BareExceptionText(3), QStringLiteral("Illegal Data Value"));
    EXPECT_EQ(BareExceptionText(4), QString());
}

} // namespace
