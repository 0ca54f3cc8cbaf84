// Which frame is a window's own reply: one table of requests and the frames
// that may arrive while they are outstanding.
#include "link/ReplyMatch.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{

using Bytes = std::vector<int>;

ModbusBuffer frameOf(const Bytes &fromUnit)
{
    ModbusBuffer b{};
    for (size_t i = 0; i < fromUnit.size(); ++i)
        b[6 + i] = static_cast<quint8>(fromUnit[i]);
    return b;
}

const char *nameOf(ReplyKind k)
{
    switch (k) {
    case ReplyKind::Pending:
        return "Pending";
    case ReplyKind::NotMine:
        return "NotMine";
    case ReplyKind::Exception:
        return "Exception";
    case ReplyKind::Data:
        return "Data";
    }
    return "?";
}

TEST(ReplyMatch, ShapeOfEachRequestTheWindowsSend)
{
    struct Case {
        const char *name;
        Bytes request; // from the unit identifier on
        int function;
        int byteCount;
    };
    const Case cases[] = {
        {"read input registers", {8, 0x04, 0x10, 0x00, 0x00, 0x0E}, 0x04, 28},
        {"read holding registers", {8, 0x03, 0x20, 0x00, 0x00, 0x7D}, 0x03, 250},
        {"read coils", {8, 0x01, 0x00, 0x00, 0x00, 0x09}, 0x01, 2},
        {"read discrete inputs", {8, 0x02, 0x00, 0x00, 0x00, 0x08}, 0x02, 1},
        {"function 23 reads its read half", {8, 0x17, 0x01, 0x00, 0x00, 0x0B, 0x09, 0x00, 0x00, 0x05, 0x0A}, 0x17, 22},
        {"write multiple registers", {8, 0x10, 0x22, 0x00, 0x00, 0x01, 0x02, 0x12, 0x34}, 0x10, -1},
        {"write single register", {8, 0x06, 0x15, 0x00, 0xFF, 0xFF}, 0x06, -1},
        {"device identification", {8, 0x2B, 0x0E, 0x01, 0x00}, 0x2B, -1},
        {"restart", {8, 0x2A}, 0x2A, -1},
        {"read without quantity", {8, 0x04, 0x10}, 0x04, -1},
        {"unit only", {8}, 0x00, -1},
    };
    for (const Case &c : cases) {
        const RequestShape s = ShapeOfRequest(frameOf(c.request), 6 + static_cast<int>(c.request.size()));
        EXPECT_EQ(s.functionCode, c.function) << c.name;
        EXPECT_EQ(s.byteCount, c.byteCount) << c.name;
        EXPECT_EQ(s.unit, -1) << c.name;
    }
}

TEST(ReplyMatch, ClassifiesWhatArrivesAgainstTheRequest)
{
    const Bytes readTwo = {8, 0x04, 0x22, 0x00, 0x00, 0x02};           // 2 registers
    const Bytes cycle = {8, 0x17, 0x01, 0x00, 0x00, 0x02, 0x09, 0x00}; // reads 2
    const Bytes write = {8, 0x10, 0x22, 0x00, 0x00, 0x01, 0x02, 0x12, 0x34};
    struct Case {
        const char *name;
        Bytes request;
        Bytes reply; // from the unit identifier on; CRC bytes where the serial link would have them
        int rxCount; // -1: 6 + reply size
        ReplyKind expected;
    };
    const Case cases[] = {
        {"nothing yet", readTwo, {}, 0, ReplyKind::Pending},
        {"its read reply", readTwo, {8, 4, 4, 1, 2, 3, 4}, -1, ReplyKind::Data},
        {"its read reply with CRC", readTwo, {8, 4, 4, 1, 2, 3, 4, 0xAA, 0xBB}, -1, ReplyKind::Data},
        {"read reply of another quantity", readTwo, {8, 4, 2, 1, 2}, -1, ReplyKind::NotMine},
        {"read reply cut short", readTwo, {8, 4, 4, 1, 2, 3}, -1, ReplyKind::NotMine},
        {"the cycle's reply while a read waits", readTwo, {8, 0x17, 4, 1, 2, 3, 4}, -1, ReplyKind::NotMine},
        {"exception to the read", readTwo, {8, 0x84, 2}, -1, ReplyKind::Exception},
        {"exception to another function", readTwo, {8, 0x97, 2}, -1, ReplyKind::NotMine},
        {"exception with any code", readTwo, {8, 0x84, 0x7F}, -1, ReplyKind::Exception},
        {"the read's reply while the cycle waits", cycle, {8, 4, 4, 1, 2, 3, 4}, -1, ReplyKind::NotMine},
        {"the cycle's reply", cycle, {8, 0x17, 4, 0, 7, 0, 0}, -1, ReplyKind::Data},
        {"write echo", write, {8, 0x10, 0x22, 0x00, 0x00, 0x01}, -1, ReplyKind::Data},
        {"write exception", write, {8, 0x90, 3}, -1, ReplyKind::Exception},
        {"read reply to a write", write, {8, 4, 2, 0, 0}, -1, ReplyKind::NotMine},
        {"two bytes are no frame", readTwo, {8, 4}, -1, ReplyKind::NotMine},
        {"count beyond the buffer", readTwo, {8, 4, 4, 1, 2, 3, 4}, 300, ReplyKind::NotMine},
        {"another unit is still taken", readTwo, {9, 4, 4, 1, 2, 3, 4}, -1, ReplyKind::Data},
    };
    for (const Case &c : cases) {
        const RequestShape shape = ShapeOfRequest(frameOf(c.request), 6 + static_cast<int>(c.request.size()));
        const int count = c.rxCount >= 0 ? c.rxCount : 6 + static_cast<int>(c.reply.size());
        const ReplyKind got = ClassifyReply(shape, frameOf(c.reply), count);
        EXPECT_EQ(got, c.expected) << c.name << ": got " << nameOf(got);
    }
}

TEST(ReplyMatch, UnitCheckedWhenTheRequestAsksForIt)
{
    RequestShape shape = ShapeOfRequest(frameOf({8, 0x2B, 0x0E, 0x01, 0x00}), 11);
    shape.unit = 8;
    EXPECT_EQ(ClassifyReply(shape, frameOf({8, 0x2B, 0x0E, 1, 1}), 11), ReplyKind::Data);
    EXPECT_EQ(ClassifyReply(shape, frameOf({9, 0x2B, 0x0E, 1, 1}), 11), ReplyKind::NotMine);
    EXPECT_EQ(ClassifyReply(shape, frameOf({9, 0xAB, 1}), 9), ReplyKind::NotMine);
}

TEST(ReplyMatch, TcpReplyCountsItsHeader)
{
    // TCP leaves the MBAP header in RxFrame[0..5]; the count includes it.
    const RequestShape shape = ShapeOfRequest(frameOf({8, 0x04, 0x10, 0x00, 0x00, 0x01}), 12);
    ModbusBuffer rx = frameOf({8, 4, 2, 0x12, 0x34});
    rx[5] = 5;
    EXPECT_EQ(ClassifyReply(shape, rx, 11), ReplyKind::Data);
    EXPECT_EQ(ClassifyReply(shape, rx, 10), ReplyKind::NotMine);
}

} // namespace
