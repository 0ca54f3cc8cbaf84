#include "process/AutostartSequence.h"

namespace
{
constexpr quint8 LinkOpen = 0x01 | 0x02;
constexpr quint8 ConfigAnswered = 0x04;
constexpr quint8 MaxConfigAttempts = 5;
} // namespace

AutostartTick AutostartStepOf(const AutostartState &state, bool dms)
{
    AutostartTick t;
    t.next = state;
    const quint16 step = state.step;
    if (step == 0) {
        t.action = AutostartAction::OpenLink;
        t.next.step = 1;
    } else if (step >= 1 && step <= 5) {
        t.next.step = step + 1;
        if (state.stationFlags & LinkOpen) {
            if (state.readConfigOnAutostart == 1) {
                t.next.readConfigOnAutostart = 0;
                t.next.step = 10;
            } else {
                // Later runs keep the configuration read before.
                t.next.stationFlags |= ConfigAnswered;
                t.next.step = 15;
            }
        }
    } else if (step == 6) {
        t.timerOn = false; // no link: given up
    } else if (step == 10) {
        t.action = AutostartAction::ReadConfiguration;
        t.next.step = 11;
    } else if (step >= 11 && step <= 15) {
        t.next.step = step + 1;
        if (state.stationFlags & ConfigAnswered)
            t.next.step = dms ? 20 : AutostartCycleStep;
    } else if (step == 16) {
        t.next.configAttempts = static_cast<quint8>(state.configAttempts + 1);
        if (t.next.configAttempts < MaxConfigAttempts)
            t.next.step = 10;
        else
            t.timerOn = false;
    } else if (step == 20) {
        t.action = AutostartAction::ReadDmsParameters;
        t.next.step = 21;
    } else if (step == 21) {
        t.next.step = 22;
    } else if (step == 22) {
        t.next.step = AutostartCycleStep;
    } else if (step == AutostartCycleStep) {
        t.action = AutostartAction::StartCycle;
        t.timerOn = false;
    } else {
        t.timerOn = false; // no such step
    }
    return t;
}

RestartWatchAction RestartWatchOf(bool autostartTimerActive, quint16 autostartStep)
{
    if (!autostartTimerActive && autostartStep != AutostartCycleStep)
        return RestartWatchAction::RunSequenceAgain;
    if (autostartStep == AutostartCycleStep)
        return RestartWatchAction::EndRestart;
    return RestartWatchAction::Nothing;
}
