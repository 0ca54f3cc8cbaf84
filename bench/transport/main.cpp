// bench_transport: the round trip of the tool's transport against libmodbus
// (figure 1) and the bus monitor's throughput with the traffic file on
// (figure 2). --smoke runs a few hundred iterations and only checks that
// everything works; it prints figures but they mean little.
#include "MonitorThroughput.h"
#include "RoundTrip.h"
#include "SimulatorProcess.h"

#include "app/Platform.h"
#include <QAbstractEventDispatcher>

#include <QApplication>
#include <QThread>
#include <modbus/modbus-version.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

struct Options {
    bool smoke = false;
    int reads = 10000;
    int frames = 200000;
};

bool Parse(int argc, char **argv, Options &options)
{
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--smoke")) {
            options.smoke = true;
            options.reads = 300;
            options.frames = 4000;
        } else if (!std::strcmp(argv[i], "--reads") && i + 1 < argc) {
            options.reads = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--frames") && i + 1 < argc) {
            options.frames = std::atoi(argv[++i]);
        } else {
            return false;
        }
    }
    return options.reads > 0 && options.frames >= 10;
}

int RoundTripFigure(const Options &options)
{
    SimulatorProcess sim;
    if (sim.port() == 0) {
        std::printf("figure 1: simulator did not start: %s\n", qPrintable(sim.error()));
        return 1;
    }
    const RoundTripFigures f = MeasureRoundTrips(sim.port(), options.reads);
    if (!f.error.isEmpty()) {
        std::printf("figure 1: %s\n", qPrintable(f.error));
        return 1;
    }
    std::printf("Figure 1: round trip, read input registers 0x1000 x 14, unit 8, vo3112sim on 127.0.0.1:%u,\n"
                "          %d reads per client, interleaved in blocks\n",
                sim.port(), f.reads);
    std::printf("  %-28s median %8.1f us   p99 %8.1f us\n", "Transport::Daten_Transfer", f.transport.medianUs,
                f.transport.p99Us);
    std::printf("  %-28s median %8.1f us   p99 %8.1f us\n", "bare QTcpSocket, same loop", f.bareQt.medianUs,
                f.bareQt.p99Us);
    std::printf("  %-28s median %8.1f us   p99 %8.1f us\n", "libmodbus " LIBMODBUS_VERSION_STRING, f.libmodbus.medianUs,
                f.libmodbus.p99Us);
    const double ratio = f.libmodbus.medianUs > 0 ? f.transport.medianUs / f.libmodbus.medianUs : 0;
    const double qtRatio = f.libmodbus.medianUs > 0 ? f.bareQt.medianUs / f.libmodbus.medianUs : 0;
    std::printf("  ratio Transport / libmodbus (median): %.2f (goal 1.2 or less); bare QTcpSocket / libmodbus: %.2f\n",
                ratio, qtRatio);
    if (f.failures) {
        std::printf("  %d wrong or missing replies\n", f.failures);
        return 1;
    }
    return 0;
}

// Every monitor line, but no separator, goes to the file; the memos stay
// under the limit.
bool MonitorKeptItsLines(const MonitorFigures &f)
{
    return f.lineLimit == 1000 && f.fileLines == 2LL * f.frames && f.sendLines > 0 && f.sendLines <= f.lineLimit &&
           f.receiveLines > 0 && f.receiveLines <= f.lineLimit;
}

int MonitorFigure(const Options &options)
{
    const MonitorFigures f = MeasureMonitor(options.frames, false);
    if (!f.error.isEmpty()) {
        std::printf("figure 2: %s\n", qPrintable(f.error));
        return 1;
    }
    std::printf("Figure 2: bus monitor, send line, separator, receive line, separator per frame,\n"
                "          MonitorLineLimit %d, traffic file on\n",
                f.lineLimit);
    std::printf("  %d frames, event loop every 1000 frames: %.0f frames/s (goal 5000 or more),\n"
                "    %.0f frames per CPU second\n",
                f.frames, f.framesPerSecond, f.framesPerCpuSecond);
    std::printf("  VmRSS: %ld KiB before, %ld at 10 %%, %ld at 50 %%, %ld KiB at 100 %%\n", f.rssKiB[0], f.rssKiB[1],
                f.rssKiB[2], f.rssKiB[3]);
    std::printf("  traffic file %lld lines; memos hold %d send and %d receive lines\n",
                static_cast<long long>(f.fileLines), f.sendLines, f.receiveLines);
    std::fflush(stdout);

    // Repainting after every frame is slow; a fortieth of the frames tells it.
    const MonitorFigures r = MeasureMonitor(std::max(10, options.frames / 40), true);
    if (r.error.isEmpty())
        std::printf("  %d frames, event loop (repaint) after every frame: %.0f frames/s, %.0f per CPU second\n",
                    r.frames, r.framesPerSecond, r.framesPerCpuSecond);
    const bool ok = MonitorKeptItsLines(f) && r.error.isEmpty() && MonitorKeptItsLines(r);
    if (!ok)
        std::printf("  the monitor did not keep its lines as it should\n");
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    // Never needs a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Options options;
    if (!Parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: %s [--smoke] [--reads N] [--frames N]\n", argv[0]);
        return 2;
    }
    PrepareApplicationEnvironment(); // as the program does
    QApplication app(argc, argv);
    // The event dispatcher sets much of figure 1 (QT_NO_GLIB=1 picks Qt's own).
    std::printf("bench_transport%s: Qt %s, %s, %d cores\n", options.smoke ? " --smoke" : "", qVersion(),
                QAbstractEventDispatcher::instance()->metaObject()->className(), QThread::idealThreadCount());
    std::fflush(stdout);
    int failures = RoundTripFigure(options);
    std::fflush(stdout);
    failures += MonitorFigure(options);
    return failures ? 1 : 0;
}
