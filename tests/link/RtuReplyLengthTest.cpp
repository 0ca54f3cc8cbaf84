#include "link/RtuReplyLength.h"
#include "LinkTestSupport.h"

#include <gtest/gtest.h>

namespace
{

using Kind = RtuReplyLength::Kind;

TEST(RtuReplyLength, FromTheFirstBytesOfAReply)
{
    const struct {
        const char *name;
        Bytes start;
        Kind kind;
        int length;
    } cases[] = {
        {"nothing yet", {}, Kind::NeedMore, 0},
        {"unit only", {0x08}, Kind::NeedMore, 0},
        {"function code 0", {0x08, 0x00}, Kind::Invalid, 0},
        {"exception", {0x08, 0x84}, Kind::Known, 5},
        {"exception of an unknown function", {0x08, 0xC1}, Kind::Known, 5},
        {"read without byte count yet", {0x08, 0x04}, Kind::NeedMore, 0},
        {"read input registers", {0x08, 0x04, 0x1C}, Kind::Known, 33},
        {"read holding registers", {0x08, 0x03, 0x02}, Kind::Known, 7},
        {"read coils", {0x08, 0x01, 0x01}, Kind::Known, 6},
        {"process data exchange, largest count", {0x08, 0x17, 0xFF}, Kind::Known, 260},
        {"write single register", {0x08, 0x06}, Kind::Known, 8},
        {"write multiple registers", {0x08, 0x10}, Kind::Known, 8},
        {"read exception status", {0x08, 0x07}, Kind::Known, 5},
        {"mask write register", {0x08, 0x16}, Kind::Known, 10},
        {"diagnostics echo whatever was sent", {0x08, 0x08, 0x00}, Kind::Unknown, 0},
        {"user function code", {0x08, 0x41, 0x03}, Kind::Unknown, 0},
        {"encapsulated transport of another kind", {0x08, 0x2B, 0x0D}, Kind::Unknown, 0},
        {"device identification: ends where its CRC checks", {0x08, 0x2B, 0x0E, 0x01, 0x01}, Kind::Unknown, 0},
    };
    for (const auto &c : cases) {
        const RtuReplyLength length = RtuReplyLengthOf(c.start.data(), static_cast<int>(c.start.size()));
        EXPECT_EQ(length.kind, c.kind) << c.name;
        if (c.kind == Kind::Known) {
            EXPECT_EQ(length.length, c.length) << c.name;
        }
    }
}

} // namespace
