#include "CycleFigures.h"

#include "../transport/Figures.h"
#include "CycleWatch.h"
#include "ProgramOnSimulator.h"
#include "app/Deklarat.h"
#include "parameters/TParaAnaIn32Bit.h"
#include "process/TCont.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace
{

// Only the channels read: the rows beyond them show cleared records, whose
// filter the scroll bar limits into its range.
bool SameRecords(const AnaIn32Block &a, const AnaIn32Block &b, int channels)
{
    return std::equal(a.begin(), a.begin() + channels, b.begin(), [](const AnaIn32Record &x, const AnaIn32Record &y) {
        return x.SetupWord == y.SetupWord && x.ModeWord == y.ModeWord && x.LowerProValue == y.LowerProValue &&
               x.UpperProValue == y.UpperProValue && x.UpperFieldValue == y.UpperFieldValue;
    });
}

// The Read button of the 32-bit parameter window, pressed by a timer. The
// window's block is cleared before each read, so that only the reply can
// bring the expected values back.
class ParameterReads : public QObject
{
public:
    ParameterReads(TParaAnaIn32Bit *window, int channels, int everyMs, int reads, const AnaIn32Block &expected)
        : w(window), channels_(channels), reads_(reads), expected_(expected)
    {
        timer_.setInterval(everyMs);
        connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
        // After the window's own handler.
        connect(w->Timer1, &QTimer::timeout, this, [this] { checked(); });
    }
    void start()
    {
        if (!timer_.isActive()) {
            timer_.start();
            tick();
        }
    }
    bool finished() const { return issued >= reads_ && !reading_; }

    int issued = 0;
    int right = 0;
    int wrong = 0;
    int busy = 0;

private:
    void tick()
    {
        if (issued >= reads_) {
            timer_.stop();
            return;
        }
        if (reading_) {
            ++busy;
            return;
        }
        w->AnaIn32Params = {};
        reading_ = true;
        ++issued;
        w->ReadAnaInClick();
    }
    void checked()
    {
        if (!reading_ || w->Timer1->isActive())
            return;
        reading_ = false;
        if (SameRecords(w->AnaIn32Params, expected_, channels_))
            ++right;
        else
            ++wrong;
    }

    TParaAnaIn32Bit *w;
    int channels_;
    QTimer timer_;
    int reads_;
    AnaIn32Block expected_;
    bool reading_ = false;
};

} // namespace

CycleRun RunProgramCycle(ProgramOnSimulator &program, const RunPlan &plan, const std::function<void(int)> &beside)
{
    CycleRun run;
    ProgramState &d = program.d();
    TCont *w = d.Cont;
    program.setDataTimeout(plan.dataTimeoutMs);

    CycleWatch watch(d);
    QEventLoop loop;
    watch.recorder().begin(plan.warmUp, plan.cycles, plan.keepPeriods, [&](int i) {
        if (plan.sampleMemory) {
            const int marks[4] = {0, plan.cycles / 10, plan.cycles / 2, plan.cycles};
            for (size_t m = 0; m < 4; ++m)
                if (i == marks[m])
                    run.rssKiB[m] = ResidentKiB();
        }
        if (beside)
            beside(i);
        if (i == plan.cycles) {
            w->BStopClick();
            loop.quit();
        }
    });
    // A cycle that stops sending ends the run instead of hanging it.
    QTimer watchdog;
    int seen = -1;
    QObject::connect(&watchdog, &QTimer::timeout, &loop, [&] {
        if (watch.recorder().requests() == seen) {
            run.error = QStringLiteral("the cycle stalled after %1 requests").arg(seen);
            loop.quit();
        }
        seen = watch.recorder().requests();
    });
    watchdog.start(std::max(2000, 20 * plan.dataTimeoutMs));

    w->BStartClick();
    if (w->CycleRunning == 1)
        loop.exec();
    else
        run.error = QStringLiteral("the cycle did not start");
    w->BStopClick();
    // Stop leaves the armed response check to run once more.
    if (!RunUntil([&] { return !w->Antwort->isActive(); }, 20 * plan.dataTimeoutMs + 2000) && run.error.isEmpty())
        run.error = QStringLiteral("the last response check did not end");
    // Replies the window gave up on may still be under way.
    RunUntil([&] { return watch.unanswered() <= 0; }, 2000);
    run.sample = watch.recorder().sample();
    run.checks = watch.checks();
    return run;
}

ParameterReadFigures MeasureCycleWithParameterReads(ProgramOnSimulator &program, const RunPlan &plan, int everyMs,
                                                    int reads, const AnaIn32Block &expected)
{
    ParameterReadFigures f;
    ProgramState &d = program.d();
    f.channels = std::clamp<int>(d.StationConfig.AnaIn32Count, 0, AnaIn32Channels);
    program.sink().clear();
    ParameterReads reader(d.ParaAnaIn32Bit, f.channels, everyMs, reads, expected);
    f.cycle = RunProgramCycle(program, plan, [&](int i) {
        if (i == 0)
            reader.start();
    });
    // Reads not yet done when the cycle stopped end alone.
    if (!RunUntil([&] { return reader.finished(); }, (reads - reader.issued + 2) * everyMs + 5000))
        f.error = QStringLiteral("the parameter reads did not finish");
    f.issued = reader.issued;
    f.right = reader.right;
    f.wrong = reader.wrong;
    f.busy = reader.busy;
    for (const MessageRequest &box : program.sink().boxes) {
        if (box.text.contains(QStringLiteral("Timeout")))
            ++f.timeoutBoxes;
        else if (box.text.contains(QStringLiteral("Antwort unvollständig")) ||
                 box.text.contains(QStringLiteral("Incomplete reply")))
            ++f.incompleteBoxes;
        else
            ++f.otherBoxes;
    }
    return f;
}
