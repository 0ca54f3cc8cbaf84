// bench_soak: the whole program, started with AUTO and a pipe name as from
// the command line, against vo3112sim injecting random faults, for a given
// time. A pipe client asks every 100 ms and asks for a restart every minute.
// It prints cycles, timeouts and restarts, resident memory after warm-up and
// at the end, the longest event-loop stall and the pipe's answer times.
#include "../transport/SimulatorProcess.h"
#include "LinkFaults.h"
#include "PipeLoad.h"
#include "SerialSimulator.h"
#include "StallProbe.h"
#include "app/Messages.h"
#include "app/Platform.h"
#include "app/Station.h"
#include "process/TCont.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUuid>
#include <cstdio>
#include <map>
#include <memory>

namespace
{

struct Settings {
    int seconds = 600;
    int warmUpSeconds = 120;
    int restartEvery = 60;
    bool rtu = false;
    bool smoke = false;
    bool linkFaults = false;
    unsigned seed = 1;
};

bool Parse(int argc, char **argv, Settings &s)
{
    bool warmUpGiven = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a = argv[i];
        const bool more = i + 1 < argc;
        if (a == "--smoke") {
            s.smoke = true;
        } else if (a == "--link-faults") {
            s.linkFaults = true;
        } else if (a == "--rtu") {
            s.rtu = true;
        } else if (a == "--minutes" && more) {
            s.seconds = 60 * QByteArray(argv[++i]).toInt();
        } else if (a == "--seconds" && more) {
            s.seconds = QByteArray(argv[++i]).toInt();
        } else if (a == "--warm-up" && more) {
            s.warmUpSeconds = QByteArray(argv[++i]).toInt();
            warmUpGiven = true;
        } else if (a == "--restart-every" && more) {
            s.restartEvery = QByteArray(argv[++i]).toInt();
        } else if (a == "--seed" && more) {
            s.seed = QByteArray(argv[++i]).toUInt();
        } else {
            std::fprintf(stderr, "usage: bench_soak [--minutes M | --seconds S] [--rtu] [--warm-up S] "
                                 "[--restart-every S] [--seed N] [--smoke] | --link-faults\n");
            return false;
        }
    }
    if (s.smoke) {
        s.seconds = 12;
        s.warmUpSeconds = 2;
        s.restartEvery = 3;
    } else if (!warmUpGiven) {
        s.warmUpSeconds = std::min(s.warmUpSeconds, s.seconds / 5);
    }
    return s.seconds > 0 && s.warmUpSeconds >= 0 && s.warmUpSeconds < s.seconds;
}

long ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Outcomes of the cycle's response checks, seen after the window's own
// handler: pending (armed again), answered, exception, timed out.
struct CycleCounts {
    long requests = 0;
    long answered = 0;
    long exceptions = 0;
    long timeouts = 0;
};

} // namespace

int main(int argc, char **argv)
{
    Settings s;
    if (!Parse(argc, argv, s))
        return 2;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    PrepareApplicationEnvironment();
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    if (s.linkFaults)
        return RunLinkFaults();

    // 5 % dropped, delays up to one cycle period (2 x DataTimeout), a fifth of
    // the TCP replies split, 2 % exceptions with any code, 2 % bad CRC on RTU.
    const QStringList faults = {QStringLiteral("--drop"),
                                QStringLiteral("5"),
                                QStringLiteral("--jitter"),
                                QStringLiteral("200"),
                                QStringLiteral("--split"),
                                QStringLiteral("5"),
                                QStringLiteral("--split-share"),
                                QStringLiteral("20"),
                                QStringLiteral("--exception-share"),
                                QStringLiteral("2"),
                                QStringLiteral("--seed"),
                                QString::number(s.seed),
                                QStringLiteral("--no-stdin")};
    std::unique_ptr<SimulatorProcess> tcpSim;
    std::unique_ptr<SerialSimulator> rtuSim;
    QTemporaryDir folder;
    QFile ini(folder.filePath(QStringLiteral("Modbus.ini")));
    if (!ini.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "bench_soak: cannot write %s\n", qPrintable(ini.fileName()));
        return 1;
    }
    if (s.rtu) {
        rtuSim = std::make_unique<SerialSimulator>(faults +
                                                   QStringList{QStringLiteral("--bad-crc-share"), QStringLiteral("2")});
        if (!rtuSim->error().isEmpty()) {
            std::fprintf(stderr, "bench_soak: %s\n", qPrintable(rtuSim->error()));
            return 1;
        }
        ini.write("[Schnittstelle]\nEthernet=0\nPort=0\nBaud=6\nFrame=3\nComDevice1=" + rtuSim->masterSide().toUtf8() +
                  "\n");
    } else {
        tcpSim = std::make_unique<SimulatorProcess>(faults);
        if (tcpSim->port() == 0) {
            std::fprintf(stderr, "bench_soak: simulator: %s\n", qPrintable(tcpSim->error()));
            return 1;
        }
        ini.write("[Schnittstelle]\nEthernet=1\nEthAdresse=127.0.0.1\nEthPort=" + QByteArray::number(tcpSim->port()) +
                  "\n");
    }
    ini.close();

    const QString pipe = QStringLiteral("SERVERsoak") + QUuid::createUuid().toString(QUuid::Id128).left(8);
    RecordingMessageSink sink;
    Station station({QStringLiteral("AUTO"), pipe}, folder.path());
    station.d.setMessageSink(&sink);
    station.start();
    ProgramState &d = station.d;

    CycleCounts cycles;
    QObject::connect(d.Cont->Anfrage, &QTimer::timeout, [&] { ++cycles.requests; });
    QObject::connect(d.Cont->Antwort, &QTimer::timeout, [&] {
        if (d.Cont->Antwort->isActive())
            return;
        // Bit 0x08 does not tell an exception from values; the window does.
        switch (d.Cont->freshness().state()) {
        case ValueFreshness::State::NoAnswer:
            ++cycles.timeouts;
            break;
        case ValueFreshness::State::Exception:
            ++cycles.exceptions;
            break;
        case ValueFreshness::State::Current:
            ++cycles.answered;
            break;
        }
    });
    // Boxes are counted by text and let go, so that they cost no memory.
    std::map<QString, long> boxes;
    QTimer collect;
    QObject::connect(&collect, &QTimer::timeout, [&] {
        for (const MessageRequest &box : sink.boxes)
            ++boxes[box.text];
        sink.clear();
    });
    collect.start(1000);

    QElapsedTimer startWait;
    startWait.start();
    while (!(d.StationFlags & StationFlag::ProcessDataAnswered) && startWait.elapsed() < 30000)
        RunFor(50);
    if (!(d.StationFlags & StationFlag::ProcessDataAnswered)) {
        std::fprintf(stderr, "bench_soak: the automatic start did not bring the cycle up within 30 s\n");
        return 1;
    }
    const double startS = static_cast<double>(startWait.elapsed()) / 1000;

    StallProbe probe(5);
    PipeLoad load(pipe, std::chrono::milliseconds(100), std::chrono::seconds(s.restartEvery));
    load.start();
    RunFor(s.warmUpSeconds * 1000);
    const long rssWarm = ResidentKiB();
    const CycleCounts atWarm = cycles;
    for (int done = s.warmUpSeconds; done < s.seconds;) {
        const int step = std::min(60, s.seconds - done);
        RunFor(step * 1000);
        done += step;
        if (!s.smoke)
            std::fprintf(stderr, "bench_soak: %d s, %ld requests, %ld timeouts, VmRSS %ld KiB\n", done, cycles.requests,
                         cycles.timeouts, ResidentKiB());
    }
    const long rssEnd = ResidentKiB();
    load.stop();
    collect.stop();
    for (const MessageRequest &box : sink.boxes)
        ++boxes[box.text];
    const PipeFigures p = load.figures();

    std::printf("bench_soak: %s, %d s (warm-up %d s), Qt %s, %s, %d cores\n", s.rtu ? "RTU over a pty" : "TCP",
                s.seconds, s.warmUpSeconds, qVersion(), qPrintable(QSysInfo::prettyProductName()),
                QThread::idealThreadCount());
    std::printf("  faults: drop 5 %%, jitter 0..200 ms, 20 %% of TCP replies split 5 ms, 2 %% exceptions%s; "
                "seed %u\n",
                s.rtu ? ", 2 % bad CRC" : "", s.seed);
    std::printf("  automatic start: cycle up after %.1f s\n", startS);
    std::printf("  cycle: %ld requests, %ld answered, %ld exceptions, %ld timed out (%.2f %%)\n", cycles.requests,
                cycles.answered, cycles.exceptions, cycles.timeouts,
                cycles.requests ? 100.0 * static_cast<double>(cycles.timeouts) / static_cast<double>(cycles.requests)
                                : 0.0);
    std::printf("  restarts through the pipe: %ld asked, %ld answered with 0x80, %ld completed (0x80 clear "
                "again), longest %.1f s\n",
                p.restartsAsked, p.restartsFlagged, p.restartsCompleted, p.longestRestartS);
    std::printf("  pipe: %ld requests, %ld answered, %ld within 1 s (goal: all), %ld failed, slowest %.1f ms%s%s\n",
                p.requests, p.answered, p.within1s, p.failed, p.longestMs, p.failed ? "; last error: " : "",
                qPrintable(p.lastError));
    std::printf("  VmRSS: %ld KiB after warm-up (%ld requests), %ld KiB at the end: growth %ld KiB (goal under "
                "1024)\n",
                rssWarm, atWarm.requests, rssEnd, rssEnd - rssWarm);
    std::printf("  event loop: longest stall %.1f ms at %.0f s (goal under 100), %ld over 50 ms, %ld over 100 ms\n",
                probe.longestMs(), probe.longestAtS(), probe.over50(), probe.over100());
    std::printf("  message boxes:%s\n", boxes.empty() ? " none" : "");
    for (const auto &[text, count] : boxes)
        std::printf("    %5ld x \"%s\"\n", count, qPrintable(text));

    // The bench fails only when the run itself broke; the goals are figures.
    const bool broken = cycles.answered == 0 || p.answered == 0 ||
                        (s.restartEvery > 0 && p.restartsAsked > 0 && p.restartsCompleted == 0);
    if (broken)
        std::fprintf(stderr, "bench_soak: the run broke down (no cycle, no pipe answer or no restart came back)\n");
    return broken ? 1 : 0;
}
