// The trend window under a fast cycle: 36 analog input channels, DataTimeout
// 2 ms (a request every 4 ms at best), the whole program in-process against
// vo3112sim. First a reference phase with the trend window hidden (its buffer
// still filling), then the same cycle with the window shown and every channel
// drawn. Prints the cycle rate, the program's CPU time per wall second in each
// phase and the resident memory over the run.
#include "../cycle/ProgramOnSimulator.h"
#include "../transport/Figures.h"
#include "../transport/SimulatorProcess.h"
#include "app/Platform.h"
#include "app/StationWindows.h"
#include "monitor/TStatistik.h"
#include "monitor/TVo3112CCC.h"
#include "process/TCont.h"
#include "process/TTrend.h"

#include <QDir>
#include <QProcess>
#include <QTextBlock>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cstdio>
#include <cstring>
#include <memory>
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

void Wait(int ms)
{
    QElapsedTimer t;
    t.start();
    RunUntil([&] { return t.elapsed() >= ms; }, ms + 1000);
}

// The whole program connected to the simulator; null, and why printed, when
// the simulator did not start or the program could not read its configuration.
std::unique_ptr<ProgramOnSimulator> StartProgram(const SimulatorProcess &sim)
{
    if (sim.port() == 0) {
        std::printf("simulator did not start: %s\n", qPrintable(sim.error()));
        return nullptr;
    }
    auto program = std::make_unique<ProgramOnSimulator>(sim.port());
    if (!program->error().isEmpty()) {
        std::printf("%s\n", qPrintable(program->error()));
        return nullptr;
    }
    return program;
}

// Pictures of the trend, the statistics and a decoded monitor line, in both
// languages: a station with analog and looped-back digital channels, some
// requests dropped and the alarm mask write answered with an exception.
int TakeScreenshots(const QString &folder)
{
    QDir().mkpath(folder);
    SimulatorProcess sim({QStringLiteral("--slots"), QStringLiteral("3,3,10,6,1,0,0,0,0"), QStringLiteral("--drop"),
                          QStringLiteral("2"), QStringLiteral("--exception"), QStringLiteral("6:2")});
    const std::unique_ptr<ProgramOnSimulator> program = StartProgram(sim);
    if (!program)
        return 1;
    ProgramState &d = program->d();
    TVo3112CCC &main = *d.Vo3112CCC;
    TCont &cont = *d.Cont;
    TTrend &trend = *d.Trend;
    TStatistik &statistik = *d.Statistik;
    program->setDataTimeout(10);
    main.show();
    statistik.show();
    trend.show();
    trend.LBChannels->item(trend.LBChannels->count() - 8)->setCheckState(Qt::Checked); // DE 1
    trend.LBChannels->item(trend.LBChannels->count() - 7)->setCheckState(Qt::Checked); // DE 2
    cont.FormActivate();
    cont.BStartClick();
    // The alarm mask written by hand twice a second: the coupler refuses it.
    main.BFreeComClick();
    const char *bytes[] = {"08", "06", "15", "01", "00", "00"};
    for (int i = 0; i < 6; ++i)
        main.SGFreeCom->item(1, 7 + i)->setText(QString::fromLatin1(bytes[i]));
    main.CBBytes->setCurrentIndex(12);
    main.EAutoSend->setText(QStringLiteral("500"));
    main.BAutoSendClick(); // the caption starts as "zykl. Senden": the first press stops, the second starts
    main.BAutoSendClick();
    main.BFreeComClick(); // the panel closed, the sending goes on
    // Outputs toggled so that the looped-back digital inputs move.
    QTimer toggle;
    int step = 0;
    QObject::connect(&toggle, &QTimer::timeout, [&] {
        ++step;
        d.DigOutSlotBytes[5] = static_cast<quint8>((step & 1) | (step & 2 ? 0x02 : 0));
    });
    toggle.start(700);
    Wait(14000);

    for (const char *language : {"de", "en"}) {
        if (QLatin1String(language) == QLatin1String("en")) {
            SelectLanguage(d, 1);
            Wait(3000);
        }
        main.flushMonitor();
        // The last request line of the send memo, chosen.
        QTextBlock block = main.Transmit->document()->lastBlock();
        while (block.isValid() && !block.text().startsWith(QStringLiteral("TxD")))
            block = block.previous();
        main.Transmit->setTextCursor(QTextCursor(block));
        main.TransmitLineChosen();
        trend.SetCursor(trend.buffer().latestTime() - 2500);
        statistik.RefreshTimerTimer();
        Wait(300);
        const QString suffix = QStringLiteral("-%1.png").arg(QLatin1String(language));
        // Each window at a size that shows all of it, then the three side by side.
        trend.resize(1100, 700);
        statistik.resize(900, 260);
        main.resize(900, 640);
        Wait(500);
        trend.grab().save(folder + QStringLiteral("/trend") + suffix);
        statistik.grab().save(folder + QStringLiteral("/statistics") + suffix);
        main.grab().save(folder + QStringLiteral("/monitor-decoded") + suffix);
        main.setGeometry(0, 0, 700, 500);
        statistik.setGeometry(705, 0, 575, 500);
        trend.setGeometry(0, 530, 1280, 490);
        Wait(500);
        if (!qEnvironmentVariableIsEmpty("DISPLAY"))
            QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"),
                                                         folder + QStringLiteral("/screen") + suffix});
        std::printf("%s: %s\n", language, qPrintable(statistik.summaryText()));
    }
    main.BAutoSendClick();
    cont.BStopClick();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    bool smoke = false;
    double minutes = 10;
    QString screenshots;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--smoke"))
            smoke = true;
        else if (!std::strcmp(argv[i], "--minutes") && i + 1 < argc)
            minutes = std::atof(argv[++i]);
        else if (!std::strcmp(argv[i], "--screenshots") && i + 1 < argc)
            screenshots = QString::fromLocal8Bit(argv[++i]);
        else {
            std::fprintf(stderr, "usage: %s [--smoke] [--minutes M] [--screenshots FOLDER]\n", argv[0]);
            return 2;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    PrepareApplicationEnvironment();
    QApplication app(argc, argv);
    if (!screenshots.isEmpty())
        return TakeScreenshots(screenshots);
    // Smoke: a few seconds in all; otherwise one minute of reference.
    const int referenceMs = smoke ? 1500 : 60 * 1000;
    const int shownMs = smoke ? 2500 : static_cast<int>(minutes * 60 * 1000) - referenceMs;
    std::printf("bench_trend%s: Qt %s, %s, platform %s, %d cores, load average %s\n", smoke ? " --smoke" : "",
                qVersion(), QAbstractEventDispatcher::instance()->metaObject()->className(),
                qPrintable(QGuiApplication::platformName()), QThread::idealThreadCount(), qPrintable(LoadAverage()));

    SimulatorProcess sim({QStringLiteral("--slots"), QString::fromLatin1(Slots)});
    const std::unique_ptr<ProgramOnSimulator> program = StartProgram(sim);
    if (!program)
        return 1;
    ProgramState &d = program->d();
    const StationConfiguration &c = d.StationConfig;
    const int channels = c.AnaInCount + c.AnaIn32Count;
    if (channels != 36) {
        std::printf("the configuration read gave %d analog input channels instead of 36\n", channels);
        return 1;
    }
    program->setDataTimeout(2);
    TCont &cont = *d.Cont;
    TTrend &trend = *d.Trend;
    long images = 0;
    QObject::connect(&cont.engine, &CycleEngine::InputsDecoded, [&] { ++images; });
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
