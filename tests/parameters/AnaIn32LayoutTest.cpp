#include "parameters/AnaIn32Layout.h"

#include <gtest/gtest.h>

namespace
{

TEST(AnaIn32Layout, ActivationFormulaForSeveralRowCounts)
{
    struct Case {
        int n, h, memo;
        int group, top, client;
    };
    const Case cases[] = {
        {0, 22, 88, 44, 72, 176},   // heading only; 44 + 27.5 rounds up
        {2, 22, 88, 143, 171, 275}, // 2 x 49.5 + 44
        {4, 22, 88, 242, 270, 374},  {16, 22, 88, 836, 864, 968},
        {2, 21, 84, 137, 163, 263},  // 94.5 + 42 = 136.5 rounds away from zero
        {3, 20, 80, 175, 200, 295},  // an odd count is laid out all the same
        {16, 14, 56, 532, 550, 616}, // a scaled-down window
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "n " << c.n << " h " << c.h);
        const AnaIn32Layout l = ActivationLayout(c.n, c.h, c.memo);
        EXPECT_EQ(l.groupHeight, c.group);
        EXPECT_EQ(l.controlsTop, c.top);
        EXPECT_EQ(l.clientHeight, c.client);
    }
}

TEST(AnaIn32Layout, RowsFitTheirGroupBox)
{
    // Every row band (1.6 h high) ends inside the group box of that many rows.
    for (int h : {14, 21, 22, 30}) {
        for (int n = 1; n <= 16; ++n) {
            SCOPED_TRACE(testing::Message() << "n " << n << " h " << h);
            EXPECT_LT(RowTop(n, h) + 1.6 * h, ActivationLayout(n, h, 0).groupHeight);
            if (n > 1) {
                EXPECT_GE(RowTop(n, h) - RowTop(n - 1, h), 2 * h);
            }
        }
    }
}

} // namespace
