// The cycle's pacing: requests 2 x DataTimeout apart on average however late
// the two timers tick.
#include "process/CyclePacer.h"

#include <gtest/gtest.h>

namespace
{

constexpr qint64 Ms = 1000000;
constexpr qint64 Us = 1000;

// A cycle whose timers both tick `lateUs` late, run for `cycles` cycles as
// the window runs it: the request timer armed with the pacer's delay, the
// reply timer with DataTimeout, the reply in by the first check.
double MeanPeriodMs(int dataTimeoutMs, qint64 lateUs, int cycles)
{
    CyclePacer pacer;
    qint64 now = 3 * Ms;
    qint64 first = 0;
    for (int i = 0; i <= cycles; ++i) {
        if (i == 0)
            first = now;
        pacer.requestSent(now, dataTimeoutMs);
        now += dataTimeoutMs * Ms + lateUs * Us; // the check
        now += pacer.nextRequestDelayMs(now, dataTimeoutMs, 1) * Ms + lateUs * Us;
    }
    return double(now - first) / Ms / (cycles + 1);
}

TEST(CyclePacer, LateTicksDoNotLengthenThePeriod)
{
    struct Case {
        int dataTimeoutMs;
        qint64 lateUs;
    };
    for (const Case c : {Case{10, 0}, Case{10, 450}, Case{10, 2900}, Case{2, 300}, Case{100, 1500}}) {
        const double mean = MeanPeriodMs(c.dataTimeoutMs, c.lateUs, 1000);
        EXPECT_NEAR(mean, 2.0 * c.dataTimeoutMs, 0.01) << c.dataTimeoutMs << " ms, " << c.lateUs << " us late";
    }
    // Later than a whole DataTimeout each tick: the cycle cannot keep up and
    // runs as fast as it can, without a burst to catch up.
    EXPECT_NEAR(MeanPeriodMs(2, 2500, 1000), 2 + 2.5 + 2.5, 0.01);
}

TEST(CyclePacer, DelayIsWhatIsLeftOfThePeriodAtMostDataTimeout)
{
    CyclePacer pacer;
    EXPECT_EQ(pacer.nextRequestDelayMs(50 * Ms, 10, 1), 10); // nothing sent yet

    pacer.requestSent(5 * Ms, 10);                                      // the first request sets the schedule
    EXPECT_EQ(pacer.nextRequestDelayMs(15 * Ms + 600 * Us, 10, 1), 9);  // 9.4 ms left
    pacer.requestSent(24 * Ms + 900 * Us, 10);                          // 0.1 ms early: on schedule (due 25)
    EXPECT_EQ(pacer.nextRequestDelayMs(35 * Ms + 300 * Us, 10, 1), 10); // 9.7 ms left
    pacer.requestSent(45 * Ms + 200 * Us, 10);                          // due 45

    // Two retries: the reply came at the third check; the period is then
    // four DataTimeouts, as the described timers give.
    EXPECT_EQ(pacer.nextRequestDelayMs(75 * Ms + 900 * Us, 10, 3), 9);
    pacer.requestSent(85 * Ms, 10); // due 85

    // A stall: nothing left, the request goes at once.
    EXPECT_EQ(pacer.nextRequestDelayMs(120 * Ms, 10, 1), 0);
    // More than one DataTimeout behind the schedule: it starts again from now.
    pacer.requestSent(121 * Ms, 10);
    EXPECT_EQ(pacer.nextRequestDelayMs(131 * Ms, 10, 1), 10);
    pacer.requestSent(141 * Ms, 10); // due 141

    // Stop and Start: the first request after Start was never scheduled.
    pacer.requestSent(500 * Ms, 10);
    EXPECT_EQ(pacer.nextRequestDelayMs(510 * Ms + 200 * Us, 10, 1), 10);

    // A smaller DataTimeout typed between two cycles caps the delay.
    pacer.requestSent(520 * Ms, 10);
    EXPECT_EQ(pacer.nextRequestDelayMs(521 * Ms, 2, 1), 2);
}

} // namespace
