// The trend window under a fast cycle: 36 analog input channels, DataTimeout
// 2 ms (a request every 4 ms at best), the whole program in-process against
// vo3112sim. First a reference phase with the trend window hidden (its buffer
// still filling), then the same cycle with the window shown and every channel
// drawn. Prints the cycle rate, the program's CPU time per wall second in each
// phase and the resident memory over the run.
#include "../cycle/ProgramOnSimulator.h"
#include "../transport/Figures.h"
#include "../transport/SimulatorProcess.h"
#include "app/Deklarat.h"
#include "app/Platform.h"
#include "process/TCont.h"
#include "process/TTrend.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

namespace
{

// Nine modules of four 16-bit analog inputs.
constexpr const char *Slots = "3,3,3,3,3,3,3,3,3";

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QString LoadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

struct Phase {
    double seconds = 0;
    double cpu = 0;
    long images = 0;
    int redraws = 0;
};

} // namespace

int main(int argc, char **argv)
{
    bool smoke = false;
    double minutes = 10;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--smoke"))
            smoke = true;
        else if (!std::strcmp(argv[i], "--minutes") && i + 1 < argc)
            minutes = std::atof(argv[++i]);
        else {
            std::fprintf(stderr, "usage: %s [--smoke] [--minutes M]\n", argv[0]);
            return 2;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    PrepareApplicationEnvironment();
    QApplication app(argc, argv);
    // Smoke: a few seconds in all; otherwise one minute of reference.
    const int referenceMs = smoke ? 1500 : 60 * 1000;
    const int shownMs = smoke ? 2500 : static_cast<int>(minutes * 60 * 1000) - referenceMs;
    std::printf("bench_trend%s: Qt %s, %s, platform %s, %d cores, load average %s\n", smoke ? " --smoke" : "",
                qVersion(), QAbstractEventDispatcher::instance()->metaObject()->className(),
                qPrintable(QGuiApplication::platformName()), QThread::idealThreadCount(), qPrintable(LoadAverage()));

    SimulatorProcess sim({QStringLiteral("--slots"), QString::fromLatin1(Slots)});
    if (sim.port() == 0) {
        std::printf("simulator did not start: %s\n", qPrintable(sim.error()));
        return 1;
    }
    ProgramOnSimulator program(sim.port());
    if (!program.error().isEmpty()) {
        std::printf("%s\n", qPrintable(program.error()));
        return 1;
    }
    Deklarat &d = program.d();
    const StationConfiguration &c = d.StationConfig;
    const int channels = c.AnaInCount + c.AnaIn32Count;
    if (channels != 36) {
        std::printf("the configuration read gave %d analog input channels instead of 36\n", channels);
        return 1;
    }
    program.setDataTimeout(2);
    TCont &cont = *d.Cont;
    TTrend &trend = *d.Trend;
    long images = 0;
    QObject::connect(&cont, &TCont::InputsDecoded, [&] { ++images; });
    cont.FormActivate();
    cont.BStartClick();

    auto run = [&](int ms, bool shown, const char *name) {
        if (shown) {
            trend.show();
            trend.raise();
        } else {
            trend.hide();
        }
        Phase p;
        const long images0 = images;
        const int redraws0 = trend.redraws();
        const double cpu0 = CpuSeconds();
        QElapsedTimer wall;
        wall.start();
        long nextRss = 0;
        while (wall.elapsed() < ms) {
            RunUntil([&] { return wall.elapsed() >= std::min<qint64>(ms, nextRss); }, ms);
            if (wall.elapsed() >= nextRss) {
                std::printf("  %-9s %6.0f s  images %8ld  VmRSS %6ld KiB  trend buffer %d whole images, %d buckets\n",
                            name, wall.elapsed() / 1000.0, images, ResidentKiB(), trend.buffer().fineCount(),
                            trend.buffer().coarseCount());
                std::fflush(stdout);
                nextRss += smoke ? 1000 : 60 * 1000;
            }
        }
        p.seconds = wall.elapsed() / 1000.0;
        p.cpu = CpuSeconds() - cpu0;
        p.images = images - images0;
        p.redraws = trend.redraws() - redraws0;
        return p;
    };

    std::printf("vo3112sim --slots %s on 127.0.0.1:%u: %d analog inputs (16 bit), DataTimeout %d ms; "
                "trend buffer %zu KiB fixed\n",
                Slots, sim.port(), channels, d.DataTimeout, trend.buffer().memoryBytes() / 1024);
    const long rssStart = ResidentKiB();
    const Phase reference = run(referenceMs, false, "hidden");
    const Phase shown = run(shownMs, true, "shown");
    const long rssEnd = ResidentKiB();
    cont.BStopClick();

    auto report = [](const char *name, const Phase &p) {
        std::printf("%s: %.0f s, %ld images (%.1f cycles/s), %d redraws (%.1f/s), CPU %.2f s = %.1f %% of one core\n",
                    name, p.seconds, p.images, p.images / p.seconds, p.redraws, p.redraws / p.seconds, p.cpu,
                    100.0 * p.cpu / p.seconds);
    };
    report("reference, trend hidden", reference);
    report("trend shown, 36 curves ", shown);
    const double refShare = reference.cpu / reference.seconds;
    const double shownShare = shown.cpu / shown.seconds;
    std::printf("CPU with the trend shown: %.1f %% of one core (goal under 10 %%), %.2f times the hidden "
                "reference; the drawing alone %.1f %%\n",
                100.0 * shownShare, refShare > 0 ? shownShare / refShare : 0.0, 100.0 * (shownShare - refShare));
    std::printf("VmRSS %ld KiB at the start of the cycle, %ld KiB at the end\n", rssStart, rssEnd);
    // Only a cycle that ran is a figure at all.
    if (shown.images == 0 || reference.images == 0 || shown.redraws == 0) {
        std::printf("no images or no redraws: the cycle or the trend did not run\n");
        return 1;
    }
    return 0;
}
