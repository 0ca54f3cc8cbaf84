// Register requests and big-endian words, byte for byte.
#include "link/RegisterRequests.h"
#include "link/FrameWords.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{

std::vector<int> bytesOf(const ModbusBuffer &tx, int from, int to)
{
    return std::vector<int>(tx.begin() + from, tx.begin() + to);
}

TEST(RegisterRequests, FramesFromTheUnitIdentifierOn)
{
    struct Case {
        const char *name;
        std::function<quint8(ModbusBuffer &)> build;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"read 3N registers of 0x2000",
         [](ModbusBuffer &tx) { return BuildReadRegisters(tx, 8, 0x2000, 12); },
         {8, 0x04, 0x20, 0x00, 0x00, 0x0C}},
        {"holding registers",
         [](ModbusBuffer &tx) { return BuildReadRegisters(tx, 1, 0x0000, 1, 0x03); },
         {1, 0x03, 0x00, 0x00, 0x00, 0x01}},
        {"write two words",
         [](ModbusBuffer &tx) {
             return BuildWriteRegisters(tx, 8, 0x2400, {0x8028, 0x0001});
         },
         {8, 0x10, 0x24, 0x00, 0x00, 0x02, 0x04, 0x80, 0x28, 0x00, 0x01}},
        {"write no word",
         [](ModbusBuffer &tx) { return BuildWriteRegisters(tx, 8, 0x2600, {}); },
         {8, 0x10, 0x26, 0x00, 0x00, 0x00, 0x00}},
        {"reset the errors",
         [](ModbusBuffer &tx) { return BuildWriteSingleRegister(tx, 8, 0x1500, 0xFFFF); },
         {8, 0x06, 0x15, 0x00, 0xFF, 0xFF}},
    };
    for (const Case &c : cases) {
        ModbusBuffer tx{};
        const quint8 length = c.build(tx);
        EXPECT_EQ(length, 6 + c.expected.size()) << c.name;
        EXPECT_EQ(bytesOf(tx, 6, length), c.expected) << c.name;
    }
}

TEST(RegisterRequests, WriteLongerThanAFrameKeepsToTheLimit)
{
    ModbusBuffer tx{};
    const std::vector<quint16> words(200, 0xABCD);
    const quint8 length = BuildWriteRegisters(tx, 8, 0x2000, words);
    EXPECT_EQ(length, 13 + 2 * MaxWriteRegisters);
    EXPECT_EQ(Word16At(tx, 10), MaxWriteRegisters);
    EXPECT_EQ(tx[12], 2 * MaxWriteRegisters);
    EXPECT_EQ(tx[static_cast<size_t>(length)], 0); // nothing behind the frame
}

TEST(FrameWords, HighByteFirstAndNeverOutsideTheBuffer)
{
    ModbusBuffer b{};
    PutWord16(b, 9, 0x8028);
    PutWord32(b, 11, 0xFFFF8028u);
    EXPECT_EQ(bytesOf(b, 9, 15), (std::vector<int>{0x80, 0x28, 0xFF, 0xFF, 0x80, 0x28}));
    EXPECT_EQ(Word16At(b, 9), 0x8028);
    EXPECT_EQ(static_cast<qint32>(Word32At(b, 11)), -32728);
    // The last whole word of the buffer, and the ones that would not fit.
    PutWord16(b, 262, 0x1234);
    EXPECT_EQ(Word16At(b, 262), 0x1234);
    PutWord16(b, 263, 0xFFFF);
    PutWord32(b, 261, 0xFFFFFFFFu);
    PutWord16(b, -1, 0xFFFF);
    EXPECT_EQ(b[263], 0x34);
    EXPECT_EQ(b[261], 0);
    EXPECT_EQ(Word16At(b, 263), 0);
    EXPECT_EQ(Word32At(b, 261), 0u);
    EXPECT_EQ(Word16At(b, -2), 0);
}

} // namespace
