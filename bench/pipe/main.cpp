// bench_pipe: round trips through the pipe of a running vo3112ccc (started
// with AUTO and SERVER... against the simulator) while its cycle runs.
#include "../transport/Figures.h"
#include "../transport/SimulatorProcess.h"
#include "process/PipeClient.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int requests = 1000;
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]) == "--smoke")
            requests = 50;
    SimulatorProcess sim;
    if (sim.port() == 0) {
        std::fprintf(stderr, "bench_pipe: simulator: %s\n", qPrintable(sim.error()));
        return 1;
    }
    // The program reads Modbus.ini beside itself: run a copy in a folder of its own.
    QTemporaryDir dir;
    const QString exe = dir.filePath(QStringLiteral("vo3112ccc"));
    QFile::copy(QStringLiteral(VO_PROGRAM_BINARY), exe);
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile ini(dir.filePath(QStringLiteral("Modbus.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write("[Schnittstelle]\nEthernet=1\nEthAdresse=127.0.0.1\nEthPort=" + QByteArray::number(sim.port()) + "\n");
    ini.close();
    const QString pipe = QStringLiteral("SERVERbench") + QUuid::createUuid().toString(QUuid::Id128).left(8);
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.start(exe, {QStringLiteral("AUTO"), pipe});
    if (!program.waitForStarted(5000)) {
        std::fprintf(stderr, "bench_pipe: cannot start %s\n", qPrintable(exe));
        return 1;
    }
    // Wait for the cycle: process data answering.
    QElapsedTimer wait;
    wait.start();
    bool cycling = false;
    while (!cycling && wait.elapsed() < 30000) {
        const auto r = ExchangePipeMessage(pipe, BuildPipeRequest({}, 0), 1000, nullptr);
        cycling = r && (ParsePipeResponse(*r).Flags & 0x08);
        if (!cycling)
            QThread::msleep(100);
    }
    if (!cycling) {
        std::fprintf(stderr, "bench_pipe: the cycle did not start\n");
        program.kill();
        return 1;
    }
    std::vector<qint64> nanos;
    nanos.reserve(static_cast<size_t>(requests));
    int failures = 0;
    for (int i = 0; i < requests; ++i) {
        const PipeMessage request = BuildPipeRequest({0, 0, static_cast<quint8>(i & 0x0F), static_cast<quint8>(i)}, 0);
        QElapsedTimer t;
        t.start();
        const auto r = ExchangePipeMessage(pipe, request, 2000, nullptr);
        const qint64 ns = t.nsecsElapsed();
        if (!r)
            ++failures;
        else
            nanos.push_back(ns);
    }
    program.terminate();
    program.waitForFinished(5000);
    const Latency s = Summarize(nanos);
    std::printf("bench_pipe: %d round trips (connect, 74-byte request, 74-byte response) while the cycle runs\n",
                requests);
    std::printf("  median %8.1f us   p99 %8.1f us   failures %d (goal: median under 5000 us)\n", s.medianUs, s.p99Us,
                failures);
    return failures == 0 ? 0 : 1;
}
