#pragma once
// The unattended start: one step per tick of the controller's TimerAutostart,
// and the watch that brings a restart back. Pure decisions; the controller
// carries out the actions.
#include <QtGlobal>

enum class AutostartAction { None, OpenLink, ReadConfiguration, ReadDmsParameters, StartCycle };

struct AutostartState {
    quint16 step = 0;
    quint8 stationFlags = 0;
    quint8 readConfigOnAutostart = 1;
    quint8 configAttempts = 0;
};

struct AutostartTick {
    AutostartState next; // state after the step
    AutostartAction action = AutostartAction::None;
    bool timerOn = true; // whether TimerAutostart runs on
};

// One tick: the step of `state.step` with "DMS" as the fourth argument or not.
AutostartTick AutostartStepOf(const AutostartState &state, bool dms);

enum class RestartWatchAction { Nothing, RunSequenceAgain, EndRestart };

// One tick of TimerAutoRestart.
RestartWatchAction RestartWatchOf(bool autostartTimerActive, quint16 autostartStep);

// The step of a started cycle; the restart watch waits for it.
constexpr quint16 AutostartCycleStep = 50;
