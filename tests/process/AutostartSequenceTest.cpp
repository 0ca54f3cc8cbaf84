#include "process/AutostartSequence.h"

#include <gtest/gtest.h>

namespace
{

using A = AutostartAction;

TEST(AutostartSequence, EveryStepTransition)
{
    struct Case {
        const char *name;
        AutostartState in;
        bool dms;
        quint16 next;
        A action;
        bool timerOn;
        quint8 flags;
        quint8 readConfig;
        quint8 attempts;
    };
    const Case cases[] = {
        {"open link", {0, 0, 1, 0}, false, 1, A::OpenLink, true, 0, 1, 0},
        {"no link yet", {1, 0, 1, 0}, false, 2, A::None, true, 0, 1, 0},
        {"fifth tick without link", {5, 0, 1, 0}, false, 6, A::None, true, 0, 1, 0},
        {"given up", {6, 0, 1, 0}, false, 6, A::None, false, 0, 1, 0},
        {"serial open, first run", {3, 0x01, 1, 0}, false, 10, A::None, true, 0x01, 0, 0},
        {"tcp up, first run", {1, 0x02, 1, 0}, false, 10, A::None, true, 0x02, 0, 0},
        {"link open, later run", {2, 0x02, 0, 0}, false, 15, A::None, true, 0x06, 0, 0},
        {"read configuration", {10, 0x02, 0, 0}, false, 11, A::ReadConfiguration, true, 0x02, 0, 0},
        {"waiting for the configuration", {12, 0x02, 0, 0}, false, 13, A::None, true, 0x02, 0, 0},
        {"configuration answered", {11, 0x06, 0, 0}, false, 50, A::None, true, 0x06, 0, 0},
        {"configuration answered with DMS", {15, 0x06, 0, 0}, true, 20, A::None, true, 0x06, 0, 0},
        {"no answer: next attempt", {16, 0x02, 0, 3}, false, 10, A::None, true, 0x02, 0, 4},
        {"fifth attempt without answer", {16, 0x02, 0, 4}, false, 16, A::None, false, 0x02, 0, 5},
        {"read 32-bit parameters", {20, 0x06, 0, 0}, true, 21, A::ReadDmsParameters, true, 0x06, 0, 0},
        {"after parameters", {21, 0x06, 0, 0}, true, 22, A::None, true, 0x06, 0, 0},
        {"then the cycle", {22, 0x06, 0, 0}, true, 50, A::None, true, 0x06, 0, 0},
        {"start the cycle", {50, 0x06, 0, 0}, false, 50, A::StartCycle, false, 0x06, 0, 0},
        {"unknown step stops", {7, 0, 1, 0}, false, 7, A::None, false, 0, 1, 0},
    };
    for (const Case &c : cases) {
        const AutostartTick t = AutostartStepOf(c.in, c.dms);
        EXPECT_EQ(t.next.step, c.next) << c.name;
        EXPECT_EQ(t.action, c.action) << c.name;
        EXPECT_EQ(t.timerOn, c.timerOn) << c.name;
        EXPECT_EQ(t.next.stationFlags, c.flags) << c.name;
        EXPECT_EQ(t.next.readConfigOnAutostart, c.readConfig) << c.name;
        EXPECT_EQ(t.next.configAttempts, c.attempts) << c.name;
    }
}

TEST(AutostartSequence, SilentCouplerIsAskedFiveTimesThenTheRunStops)
{
    AutostartState s{0, 0, 1, 0};
    int reads = 0;
    int ticks = 0;
    bool on = true;
    while (on && ticks < 200) {
        const AutostartTick t = AutostartStepOf(s, false);
        s = t.next;
        if (t.action == A::OpenLink)
            s.stationFlags |= 0x02; // the link comes up at once
        if (t.action == A::ReadConfiguration)
            ++reads;
        on = t.timerOn;
        ++ticks;
    }
    EXPECT_FALSE(on);
    EXPECT_EQ(reads, 5);
    EXPECT_EQ(s.step, 16);
}

TEST(RestartWatch, Cases)
{
    EXPECT_EQ(RestartWatchOf(false, 6), RestartWatchAction::RunSequenceAgain);
    EXPECT_EQ(RestartWatchOf(false, 16), RestartWatchAction::RunSequenceAgain);
    EXPECT_EQ(RestartWatchOf(false, 0), RestartWatchAction::RunSequenceAgain);
    EXPECT_EQ(RestartWatchOf(false, 50), RestartWatchAction::EndRestart);
    EXPECT_EQ(RestartWatchOf(true, 50), RestartWatchAction::EndRestart);
    EXPECT_EQ(RestartWatchOf(true, 3), RestartWatchAction::Nothing);
    EXPECT_EQ(RestartWatchOf(true, 12), RestartWatchAction::Nothing);
}

} // namespace
