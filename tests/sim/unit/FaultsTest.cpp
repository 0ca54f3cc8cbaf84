#include "Faults.h"
#include "Crc.h"

#include <gtest/gtest.h>

using namespace sim;
using Bytes = std::vector<uint8_t>;

TEST(Faults, CorruptionHitsOnlyItsOwnLink)
{
    const Bytes tcp = {0x12, 0x34, 0, 0, 0, 3, 0x08, 0x84, 0x02};
    const Bytes rtu = {0x08, 0x84, 0x02, 0xC2, 0xC1};
    struct Row {
        bool badCrc, badLength;
        Link link;
        Bytes in, out;
    };
    const Row rows[] = {
        {false, false, Link::Tcp, tcp, tcp},
        {false, true, Link::Tcp, tcp, {0x12, 0x34, 0, 0, 0, 4, 0x08, 0x84, 0x02}},
        {true, false, Link::Tcp, tcp, tcp},
        {false, false, Link::Rtu, rtu, rtu},
        {false, true, Link::Rtu, rtu, rtu},
        {true, false, Link::Rtu, rtu, {0x08, 0x84, 0x02, 0xC2 ^ 0x5A, 0xC1 ^ 0xFF}},
    };
    for (const Row &r : rows) {
        Faults f;
        f.badCrc = r.badCrc;
        f.badLength = r.badLength;
        Bytes adu = r.in;
        corruptReply(r.link, f, adu);
        EXPECT_EQ(adu, r.out);
    }
}

TEST(Faults, CorruptedCrcNeverMatches)
{
    Faults f;
    f.badCrc = true;
    for (int value = 0; value < 256; ++value) {
        Bytes frame = {0x08, 0x06, 0x15, 0x01, 0x00, uint8_t(value)};
        const uint16_t crc = modbusCrc(frame);
        frame.push_back(uint8_t(crc & 0xFF));
        frame.push_back(uint8_t(crc >> 8));
        corruptReply(Link::Rtu, f, frame);
        const uint16_t sent = uint16_t(frame[6] | (frame[7] << 8));
        EXPECT_NE(sent, modbusCrc(std::span(frame).first(6)));
    }
}
