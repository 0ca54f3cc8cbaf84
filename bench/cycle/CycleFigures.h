#pragma once
// Runs of the control window's cycle against the simulator, alone and beside
// the 32-bit parameter window's reads.
#include "PeriodRecorder.h"
#include "parameters/AnaIn32Params.h"

#include <QString>
#include <array>
#include <functional>

class ProgramOnSimulator;

struct RunPlan {
    int dataTimeoutMs = 10;
    int warmUp = 10;
    int cycles = 100;
    bool keepPeriods = true; // for jitter and reply times; off where memory is measured
    bool sampleMemory = false;
};

struct CycleRun {
    CycleSample sample;
    CycleChecks checks;
    std::array<long, 4> rssKiB{}; // after warm-up, at 10 %, 50 % and 100 % of the cycles
    QString error;
};

// Sets DataTimeout in the main window, presses Start, measures, presses Stop
// and waits for the last response check. `beside(i)` runs at measured
// request i.
CycleRun RunProgramCycle(ProgramOnSimulator &program, const RunPlan &plan,
                         const std::function<void(int)> &beside = nullptr);

struct ParameterReadFigures {
    CycleRun cycle;
    int channels = 0;
    int issued = 0;
    int right = 0;
    int wrong = 0;
    int busy = 0; // ticks that found the read before still running
    int timeoutBoxes = 0;
    int incompleteBoxes = 0;
    int otherBoxes = 0;
    QString error;
};

// The cycle as in RunProgramCycle while the 32-bit parameter window reads its
// block every `everyMs` (its Read handler on a timer), `reads` times; each
// read must bring `expected` back.
ParameterReadFigures MeasureCycleWithParameterReads(ProgramOnSimulator &program, const RunPlan &plan, int everyMs,
                                                    int reads, const AnaIn32Block &expected);
