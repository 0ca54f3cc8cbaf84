#include "link/Exchange.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{

// The hold once wrapped in 32 bits: a long period gave a short or negative one.
TEST(LineHold, RetriesTimesPeriodWithoutWrapping)
{
    struct Case {
        quint16 retryLimit;
        int period;
        int hold;
    };
    const Case cases[] = {
        {5, 100, 700},
        {2, 500, 2000},
        {5, 60000, 420000},
        {5, 999999999, std::numeric_limits<int>::max()},
        {65535, 60000, std::numeric_limits<int>::max()},
        {5, std::numeric_limits<int>::max(), std::numeric_limits<int>::max()},
        {5, 0, 0},
        {5, -1, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LineHoldMs(c.retryLimit, c.period), c.hold) << c.retryLimit << " x " << c.period;
}

} // namespace
