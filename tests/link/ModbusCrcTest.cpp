#include "link/ModbusCrc.h"
#include "LinkTestSupport.h"

#include <gtest/gtest.h>
#include <random>

namespace
{

struct KnownFrame {
    const char *name;
    Bytes frame;
    quint8 firstOnLine;
    quint8 secondOnLine;
};

TEST(ModbusCrc, KnownFramesGiveTheirLineBytes)
{
    const KnownFrame cases[] = {
        {"read one holding register", {0x01, 0x03, 0x00, 0x00, 0x00, 0x01}, 0x84, 0x0A},
        {"read ten holding registers", {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A}, 0xC5, 0xCD},
        {"guide example, unit 17", {0x11, 0x03, 0x00, 0x6B, 0x00, 0x03}, 0x76, 0x87},
        {"read one input register", {0x01, 0x04, 0x00, 0x00, 0x00, 0x01}, 0x31, 0xCA},
        {"slot list request", {0x08, 0x04, 0x10, 0x00, 0x00, 0x0E}, 0x75, 0x97},
        {"exception reply", {0x08, 0x84, 0x02}, 0x12, 0xC3},
        {"check string 123456789", {'1', '2', '3', '4', '5', '6', '7', '8', '9'}, 0x37, 0x4B},
        {"no bytes", {}, 0xFF, 0xFF},
    };
    for (const KnownFrame &c : cases) {
        const quint16 crc = ModbusCrc16(c.frame.data(), static_cast<int>(c.frame.size()));
        EXPECT_EQ(crc & 0xFF, c.firstOnLine) << c.name;
        EXPECT_EQ(crc >> 8, c.secondOnLine) << c.name;
    }
}

// Random data reaches every entry of both tables.
TEST(ModbusCrc, AgreesWithBitwiseCrcOnRandomData)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> size(0, 300);
    for (int round = 0; round < 3000; ++round) {
        Bytes data(static_cast<size_t>(size(random)));
        for (quint8 &b : data)
            b = static_cast<quint8>(byte(random));
        ASSERT_EQ(ModbusCrc16(data.data(), static_cast<int>(data.size())), BitwiseCrc16(data.data(), data.size()))
            << "round " << round << ", " << data.size() << " bytes";
    }
}

} // namespace
