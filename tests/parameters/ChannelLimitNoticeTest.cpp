// When the analog windows tell that a station has more channels than they handle.
#include "parameters/ChannelLimitNotice.h"

#include <gtest/gtest.h>

namespace
{

TEST(ChannelLimitNotice, OncePerCountAboveTheLimitAndAgainAfterACountWithin)
{
    struct Step {
        int count;
        bool told;
    };
    const Step steps[] = {
        {16, false}, // at the limit: nothing to tell
        {20, true},  // above it
        {20, false}, // the same count: told already
        {24, true},  // another count above
        {20, true},  // and back: another count again
        {8, false},  // within the limit
        {20, true},  // so the count told before is told again
        {17, true},  // one above
    };
    ChannelLimitNotice notice;
    for (size_t i = 0; i < std::size(steps); ++i)
        EXPECT_EQ(notice.due(steps[i].count, 16), steps[i].told) << "step " << i << ", count " << steps[i].count;
}

} // namespace
