// bench_cycle: the control window's process data cycle against the simulator
// over loopback TCP, with the whole program in-process and its event loop
// running: period against the nominal 2 x DataTimeout, jitter and CPU time
// per cycle (figure 1), resident memory over a long run (figure 2), and the
// cycle beside the 32-bit parameter window reading its block (figure 3).
// --smoke runs a few seconds and only checks that everything works.
#include "../transport/SimulatorProcess.h"
#include "BareCycle.h"
#include "CycleFigures.h"
#include "NotCurrentScreenshots.h"
#include "ProgramOnSimulator.h"
#include "SlowEvents.h"

#include "app/Deklarat.h"
#include "app/Platform.h"
#include "monitor/TVo3112CCC.h"
#include "parameters/TParaAnaIn32Bit.h"
#include "process/ProcessImage.h"
#include "process/TCont.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QThread>
#include <QTimer>
#include <modbus/modbus.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

// Slots 1..9: digital in 4 and 8 (looped back from the outputs), digital out
// 4 and 8, analog in 4 x 16 bit, three strain gauge modules (6 channels of
// 32 bit), analog out 4.
const char *const Slots = "2,6,7,1,4,10,10,10,5";
constexpr int ParameterReadEveryMs = 300;
constexpr int ParameterTimeoutMs = 100;

struct Options {
    bool smoke = false;
    bool hidden = false;
    QString grab;        // folder for pictures of the windows after the run
    QString screenshots; // folder for the pictures of values marked not current
    bool slowEvents = false;
    int figure = 0;   // 0: all
    int seconds = 60; // figure 1, per DataTimeout
    int memoryCycles = 100000;
    int memoryWarmUp = 2000;
    int reads = 200; // figure 3
    int blocks = 4;  // figure 1: program and reference take turns
};

bool Parse(int argc, char **argv, Options &o)
{
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--smoke")) {
            o.smoke = true;
            o.seconds = 1;
            o.memoryCycles = 500;
            o.memoryWarmUp = 100;
            o.reads = 4;
            o.blocks = 1;
        } else if (!std::strcmp(argv[i], "--hidden")) {
            o.hidden = true;
        } else if (!std::strcmp(argv[i], "--grab") && hasValue) {
            o.grab = QString::fromLocal8Bit(argv[++i]);
        } else if (!std::strcmp(argv[i], "--screenshots") && hasValue) {
            o.screenshots = QString::fromLocal8Bit(argv[++i]);
        } else if (!std::strcmp(argv[i], "--slow-events")) {
            o.slowEvents = true;
        } else if (!std::strcmp(argv[i], "--figure") && hasValue) {
            o.figure = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--seconds") && hasValue) {
            o.seconds = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--memory-cycles") && hasValue) {
            o.memoryCycles = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--memory-warm-up") && hasValue) {
            o.memoryWarmUp = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--reads") && hasValue) {
            o.reads = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--blocks") && hasValue) {
            o.blocks = std::atoi(argv[++i]);
        } else {
            return false;
        }
    }
    return o.seconds > 0 && o.memoryCycles >= 10 && o.memoryWarmUp >= 0 && o.reads > 0 && o.blocks > 0 &&
           o.figure >= 0 && o.figure <= 3;
}

QString LoadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readLine()).section(QLatin1Char(' '), 0, 2);
}

// Register words of the 32-bit parameter block the simulator is given, and
// the records the window must read from them: SetupWord and ModeWord
// sign-extended (half of them negative), three 32-bit values.
std::vector<uint16_t> ParameterWords(int channels, AnaIn32Block &expected)
{
    expected = {};
    std::vector<uint16_t> words;
    for (int k = 0; k < channels; ++k) {
        const auto setup = static_cast<uint16_t>(StrainGaugeType | (k % 2 ? 0x8000 : 0x1000) | (k << 8 & 0x0700));
        const auto mode = static_cast<uint16_t>((10 + k) << 8 | (k % 8));
        const qint32 lower = -1000 * (k + 1) - 7;
        const qint32 upper = 100000 + 12345 * k;
        const qint32 field = static_cast<qint32>(0x81234567u ^ static_cast<quint32>(k));
        words.push_back(setup);
        words.push_back(mode);
        for (const qint32 v : {lower, upper, field}) {
            words.push_back(static_cast<uint16_t>(static_cast<quint32>(v) >> 16));
            words.push_back(static_cast<uint16_t>(v));
        }
        expected[static_cast<size_t>(k)] = {static_cast<qint16>(setup), static_cast<qint16>(mode), lower, upper, field};
    }
    return words;
}

// Through a Modbus master of its own, before the program connects.
QString GiveParameters(quint16 port, const std::vector<uint16_t> &words)
{
    modbus_t *ctx = modbus_new_tcp("127.0.0.1", port);
    if (!ctx)
        return QStringLiteral("libmodbus: no context");
    QString error;
    modbus_set_slave(ctx, 8);
    if (modbus_connect(ctx) != 0)
        error = QStringLiteral("libmodbus: cannot connect");
    else if (modbus_write_registers(ctx, 0x2200, static_cast<int>(words.size()), words.data()) !=
             static_cast<int>(words.size()))
        error = QStringLiteral("libmodbus: writing the 32-bit parameters failed: ") + modbus_strerror(errno);
    modbus_close(ctx);
    modbus_free(ctx);
    return error;
}

// Process CPU per second with the program connected and nothing sent: what
// every cycle's CPU figure carries besides the cycle itself.
double IdleCpuMsPerSecond(int ms)
{
    // The windows just shown lay themselves out and paint first.
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    const qint64 cpu = ProcessCpuNs();
    const qint64 start = NowNs();
    loop.exec();
    return double(ProcessCpuNs() - cpu) / 1e6 / (double(NowNs() - start) / 1e9);
}

void PrintRun(const char *label, const CycleSample &sample, const CycleChecks &checks, double nominalUs,
              const char *ratioGoal, const char *cpuGoal)
{
    const CycleSummary s = Summarize(sample, nominalUs);
    const QString jitter = s.jitterP99Us >= 0 ? QStringLiteral("jitter p99 %1 us").arg(s.jitterP99Us, 0, 'f', 1)
                                              : QStringLiteral("periods not kept");
    std::printf("    %-8s measured %9.1f us, ratio %.3f%s, %s, CPU %.1f us per cycle%s\n", label, s.meanUs, s.ratio,
                ratioGoal, qPrintable(jitter), s.cpuPerCycleUs, cpuGoal);
    if (s.replyMedianUs >= 0)
        std::printf("             reply median %.1f us, p99 %.1f us, max %.1f us;", s.replyMedianUs, s.replyP99Us,
                    s.replyMaxUs);
    else
        std::printf("             reply max %.1f us;", s.replyMaxUs);
    std::printf(" checks: %d answered, %d late (not in by the first check), %d given up;"
                " replies: %d lost, %d wrong\n",
                checks.answered, checks.late, checks.givenUp, checks.lost, checks.wrong);
}

void PrintError(const QString &error)
{
    if (!error.isEmpty())
        std::printf("    error: %s\n", qPrintable(error));
}

// The program's request as it goes out now, as one Modbus/TCP frame.
QByteArray ProgramRequest(Deklarat &d)
{
    ModbusBuffer tx{};
    const quint8 length = BuildProcessDataRequest(d.StationConfig, d.SlaveAddress, d.AnaOutValues, d.DigOutBytes, tx);
    return BuildTcpFrame(tx, length, d.TransactionId).bytes;
}

int CycleAlone(ProgramOnSimulator &program, const Options &o, quint16 port)
{
    Deklarat &d = program.d();
    const StationConfiguration &c = d.StationConfig;
    const int replyBytes = 9 + 2 * (c.AnaInCount + 2 * c.AnaIn32Count + (c.DigInCount + 15) / 16);
    BareCycle bare(port, ProgramRequest(d), replyBytes, d.RetryLimit);
    if (!bare.error().isEmpty()) {
        std::printf("%s\n", qPrintable(bare.error()));
        return 1;
    }
    std::printf("Figure 1: the cycle alone; period between function-23 requests leaving the socket. Reference: the\n"
                "          same request and timers on a bare QTcpSocket, taking turns with the program in %d blocks\n",
                o.blocks);
    int failures = 0;
    for (const int dataTimeout : {100, 10, 2}) {
        RunPlan plan;
        plan.dataTimeoutMs = dataTimeout;
        plan.cycles = std::max(o.smoke ? 5 : 10, o.seconds * 1000 / (2 * dataTimeout) / o.blocks);
        plan.warmUp = std::max(3, plan.cycles / 20);
        const double nominalUs = 2.0 * dataTimeout * 1000.0;
        CycleSample programSample;
        CycleSample bareSample;
        CycleChecks programChecks;
        CycleChecks bareChecks;
        QString error;
        for (int b = 0; b < o.blocks && error.isEmpty(); ++b) {
            const CycleRun run = RunProgramCycle(program, plan);
            programSample.add(run.sample);
            programChecks.add(run.checks);
            error = run.error;
            CycleChecks checks;
            bareSample.add(bare.run(plan, checks));
            bareChecks.add(checks);
            if (error.isEmpty())
                error = bare.error();
        }
        std::printf("  DataTimeout %d ms, nominal period %.0f us, %d cycles each\n", dataTimeout, nominalUs,
                    programSample.cycles);
        PrintRun("program", programSample, programChecks, nominalUs, dataTimeout == 10 ? " (goal 0.97 or more)" : "",
                 " (goal under 100 us)");
        PrintRun("bare", bareSample, bareChecks, nominalUs, "", "");
        const CycleSummary p = Summarize(programSample, nominalUs);
        const CycleSummary r = Summarize(bareSample, nominalUs);
        if (r.cpuPerCycleUs > 0)
            std::printf("    CPU per cycle program / bare: %.2f\n", p.cpuPerCycleUs / r.cpuPerCycleUs);
        PrintError(error);
        std::fflush(stdout);
        failures += programChecks.failed() || !error.isEmpty();
    }
    return failures;
}

int MemoryGrowth(ProgramOnSimulator &program, const Options &o)
{
    RunPlan plan;
    plan.dataTimeoutMs = 1;
    plan.cycles = o.memoryCycles;
    plan.warmUp = o.memoryWarmUp;
    plan.keepPeriods = false;
    plan.sampleMemory = true;
    std::printf("Figure 2: resident memory, %d cycles at DataTimeout 1 ms after %d warm-up cycles\n", plan.cycles,
                plan.warmUp);
    std::fflush(stdout);
    const CycleRun run = RunProgramCycle(program, plan);
    const std::array<long, 4> &rss = run.rssKiB;
    std::printf("  VmRSS %ld KiB after warm-up, %ld at 10 %%, %ld at 50 %%, %ld KiB at 100 %%: growth %ld KiB "
                "(goal under 1024 KiB)\n",
                rss[0], rss[1], rss[2], rss[3], rss[3] - rss[0]);
    std::printf("  nominal period 2000 us\n");
    PrintRun("program", run.sample, run.checks, 2000.0, "", "");
    PrintError(run.error);
    return run.checks.failed() || !run.error.isEmpty();
}

int BesideParameterReads(ProgramOnSimulator &program, const Options &o, const AnaIn32Block &expected)
{
    RunPlan plan;
    plan.dataTimeoutMs = 10;
    // Long enough that every read is issued while the cycle runs.
    plan.cycles = (o.reads * ParameterReadEveryMs + 2 * plan.dataTimeoutMs - 1) / (2 * plan.dataTimeoutMs) + 1;
    plan.warmUp = 10;
    program.setParaTimeout(ParameterTimeoutMs);
    std::printf("Figure 3: DataTimeout 10 ms beside the 32-bit parameter window reading every %d ms "
                "(ParaTimeout %d ms)\n",
                ParameterReadEveryMs, ParameterTimeoutMs);
    std::fflush(stdout);
    const ParameterReadFigures f =
        MeasureCycleWithParameterReads(program, plan, ParameterReadEveryMs, o.reads, expected);
    std::printf("  nominal period 20000 us, %d cycles\n", f.cycle.sample.cycles);
    PrintRun("program", f.cycle.sample, f.cycle.checks, 20000.0, " (goal 0.95 or more)", "");
    PrintError(f.cycle.error);
    std::printf("  parameter reads of %d channels: %d of %d answered with the right values (goal: every one), "
                "%d wrong; %d ticks found the read before still running\n",
                f.channels, f.right, f.issued, f.wrong, f.busy);
    std::printf("  message boxes: %d \"Timeout\", %d \"Antwort unvollständig\", %d other (goal 0)\n", f.timeoutBoxes,
                f.incompleteBoxes, f.otherBoxes);
    PrintError(f.error);
    const bool failed = f.cycle.checks.failed() || !f.cycle.error.isEmpty() || !f.error.isEmpty() ||
                        f.right != o.reads || f.wrong > 0 || f.timeoutBoxes + f.incompleteBoxes + f.otherBoxes > 0;
    return failed ? 1 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    // Never needs a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Options o;
    if (!Parse(argc, argv, o)) {
        std::fprintf(
            stderr,
            "usage: %s [--smoke] [--hidden] [--grab DIR] [--screenshots DIR] [--slow-events] [--figure 1|2|3]\n"
            "          [--seconds S]\n"
            "          [--memory-cycles N] [--memory-warm-up N] [--reads N] [--blocks N]\n",
            argv[0]);
        return 2;
    }
    PrepareApplicationEnvironment(); // as the program does
    TimedApplication app(argc, argv);
    if (!o.screenshots.isEmpty())
        return TakeNotCurrentScreenshots(o.screenshots, QString::fromLatin1(Slots));
    std::printf("bench_cycle%s: Qt %s, %s, %d cores, load average %s\n", o.smoke ? " --smoke" : "", qVersion(),
                QAbstractEventDispatcher::instance()->metaObject()->className(), QThread::idealThreadCount(),
                qPrintable(LoadAverage()));

    SimulatorProcess sim({QStringLiteral("--slots"), QString::fromLatin1(Slots)});
    if (sim.port() == 0) {
        std::printf("simulator did not start: %s\n", qPrintable(sim.error()));
        return 1;
    }
    AnaIn32Block expected{};
    // Three strain gauge modules of two channels each.
    const QString given = GiveParameters(sim.port(), ParameterWords(6, expected));
    if (!given.isEmpty()) {
        std::printf("%s\n", qPrintable(given));
        return 1;
    }
    ProgramOnSimulator program(sim.port());
    if (!program.error().isEmpty()) {
        std::printf("%s\n", qPrintable(program.error()));
        return 1;
    }
    const StationConfiguration &c = program.d().StationConfig;
    std::printf("vo3112sim --slots %s on 127.0.0.1:%u: analog in %d x 16 bit and %d x 32 bit, analog out %d, "
                "digital in %d, out %d; control and 32-bit parameter windows %s\n",
                Slots, sim.port(), c.AnaInCount, c.AnaIn32Count, c.AnaOutCount, c.DigInCount, c.DigOutCount,
                o.hidden ? "hidden" : "shown");
    if (c.AnaIn32Count != 6) {
        std::printf("the configuration read gave %d channels of 32 bit instead of 6\n", c.AnaIn32Count);
        return 1;
    }
    // The control window as the user opens it before Start (or prepared
    // hidden, as the automatic start does); the parameter window beside it.
    if (!o.hidden) {
        program.d().Cont->show();
        program.d().ParaAnaIn32Bit->show();
    }
    program.d().Cont->FormActivate();
    program.d().ParaAnaIn32Bit->FormActivate();
    std::fflush(stdout);

    std::printf("Idle (connected, windows as above, nothing sent): %.2f ms CPU per second\n",
                IdleCpuMsPerSecond(o.smoke ? 500 : 5000));
    app.timing = o.slowEvents;
    int failures = 0;
    if (o.figure == 0 || o.figure == 1)
        failures += CycleAlone(program, o, sim.port());
    std::fflush(stdout);
    if (o.figure == 0 || o.figure == 2)
        failures += MemoryGrowth(program, o);
    std::fflush(stdout);
    if (o.figure == 0 || o.figure == 3)
        failures += BesideParameterReads(program, o, expected);
    if (o.slowEvents)
        app.print();
    if (!o.grab.isEmpty()) {
        program.d().Cont->grab().save(o.grab + QStringLiteral("/cycle-control.png"));
        program.d().Vo3112CCC->grab().save(o.grab + QStringLiteral("/cycle-main.png"));
    }
    return failures ? 1 : 0;
}
