#include "Crc.h"
#include "RtuFramer.h"

#include <gtest/gtest.h>

#include <string>

using namespace sim;

namespace
{

const std::vector<uint8_t> ReadSlotList = withCrc({0x08, 0x04, 0x10, 0x00, 0x00, 0x0E});

} // namespace

TEST(Crc, KnownValues)
{
    const std::string check = "123456789";
    const std::vector<uint8_t> ascii(check.begin(), check.end());
    EXPECT_EQ(modbusCrc(ascii), 0x4B37);
    // On the line low byte first: 84 0A.
    EXPECT_EQ(modbusCrc(std::vector<uint8_t>{0x01, 0x03, 0x00, 0x00, 0x00, 0x01}), 0x0A84);
    EXPECT_EQ(modbusCrc(std::vector<uint8_t>{}), 0xFFFF);
    EXPECT_EQ(withCrc({0x01, 0x03, 0x00, 0x00, 0x00, 0x01}),
              (std::vector<uint8_t>{0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A}));
}

TEST(RtuFramer, RequestLengthFromTheFunctionCode)
{
    struct Row {
        std::vector<uint8_t> start;
        int length;
    };
    const Row rows[] = {
        {{0x08}, 0},
        {{0x08, 0x04}, 8},
        {{0x08, 0x03}, 8},
        {{0x08, 0x06}, 8},
        {{0x08, 0x10, 0x30, 0x00, 0x00}, 0},
        {{0x08, 0x10, 0x30, 0x00, 0x00, 0x27, 0x4E}, 9 + 78},
        {{0x08, 0x17, 0x01, 0x00, 0x00, 0x0B, 0x09, 0x00, 0x00, 0x05}, 0},
        {{0x08, 0x17, 0x01, 0x00, 0x00, 0x0B, 0x09, 0x00, 0x00, 0x05, 0x0A}, 13 + 10},
        {{0x08, 0x2A}, 4},
        {{0x08, 0x2B}, 7},
        {{0x08, 0x01}, -1},
    };
    for (const Row &r : rows)
        EXPECT_EQ(rtuRequestLength(r.start), r.length) << int(r.start.size());
}

TEST(RtuFramer, FramesArrivingInPiecesOrTogether)
{
    RtuFramer f;
    f.feed(std::span(ReadSlotList).first(3));
    EXPECT_FALSE(f.hasFrame());
    f.feed(std::span(ReadSlotList).subspan(3));
    ASSERT_TRUE(f.hasFrame());
    EXPECT_EQ(f.takeFrame(), ReadSlotList);
    EXPECT_FALSE(f.midFrame());

    const std::vector<uint8_t> restart = withCrc({0x08, 0x2A});
    std::vector<uint8_t> both = ReadSlotList;
    both.insert(both.end(), restart.begin(), restart.end());
    f.feed(both);
    ASSERT_TRUE(f.hasFrame());
    EXPECT_EQ(f.takeFrame(), ReadSlotList);
    ASSERT_TRUE(f.hasFrame());
    EXPECT_EQ(f.takeFrame(), restart);
}

TEST(RtuFramer, BadCrcDropsEverythingUpToTheNextSilence)
{
    RtuFramer f;
    std::vector<uint8_t> bad = ReadSlotList;
    bad.back() ^= 1;
    bad.insert(bad.end(), ReadSlotList.begin(), ReadSlotList.end());
    f.feed(bad);
    EXPECT_FALSE(f.hasFrame());
    EXPECT_TRUE(f.midFrame());
    f.silence();
    f.feed(ReadSlotList);
    ASSERT_TRUE(f.hasFrame());
    EXPECT_EQ(f.takeFrame(), ReadSlotList);
}

TEST(RtuFramer, SilenceEndsFramesOfUnknownLengthAndDropsFragments)
{
    RtuFramer f;
    const std::vector<uint8_t> readCoils = withCrc({0x08, 0x01, 0x00, 0x00, 0x00, 0x08});
    f.feed(readCoils);
    EXPECT_FALSE(f.hasFrame());
    f.silence();
    ASSERT_TRUE(f.hasFrame());
    EXPECT_EQ(f.takeFrame(), readCoils);

    f.feed(std::span(ReadSlotList).first(5));
    f.silence();
    EXPECT_FALSE(f.hasFrame());
    EXPECT_FALSE(f.midFrame());
}
