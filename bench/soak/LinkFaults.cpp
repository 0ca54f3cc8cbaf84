#include "LinkFaults.h"

#include "../../tests/support/DeadEndpoint.h"
#include "../transport/SimulatorProcess.h"
#include "SerialSimulator.h"
#include "StallProbe.h"
#include "app/Messages.h"
#include "app/Station.h"
#include "link/TSIOTransfer.h"
#include "monitor/TVo3112CCC.h"
#include "process/TCont.h"
#include "station/TDeviceConfigForm.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

namespace
{

// The whole program with its cycle running against a working coupler.
struct Running {
    explicit Running(const QByteArray &ini)
    {
        QFile file(folder.filePath(QStringLiteral("Modbus.ini")));
        file.open(QIODevice::WriteOnly);
        file.write(ini);
        file.close();
        station = std::make_unique<Station>(QStringList{}, folder.path());
        station->d.setMessageSink(&sink);
        station->start();
    }
    bool startCycle()
    {
        ProgramState &d = station->d;
        d.SIOTransfer->OKClick();
        if (!RunUntil([&] { return d.TcpConnected == 1 || d.SIOTransfer->Link->SerialPort->isOpen(); }, 5000))
            return false;
        d.DeviceConfigForm->BReadConfigClick();
        if (!RunUntil([&] { return d.StationConfig.ConfigValid == 1; }, 10000))
            return false;
        d.Cont->FormActivate();
        d.Cont->BStartClick();
        const bool up = RunUntil([&] { return (d.StationFlags & StationFlag::ProcessDataAnswered) != 0; }, 5000);
        sink.clear();
        return up;
    }
    QTemporaryDir folder;
    RecordingMessageSink sink;
    std::unique_ptr<Station> station;
};

QString Boxes(const RecordingMessageSink &sink)
{
    QStringList texts;
    for (const MessageRequest &box : sink.boxes)
        texts << QLatin1Char('"') + box.text + QLatin1Char('"');
    return texts.isEmpty() ? QStringLiteral("none") : texts.join(QStringLiteral(", "));
}

void Report(const char *name, const StallProbe &probe, qint64 statusMs, const QString &status,
            const RecordingMessageSink &sink)
{
    std::printf("  %-34s longest stall %6.1f ms (%ld over 50 ms); status after %5lld ms: %s\n", name, probe.longestMs(),
                probe.over50(), static_cast<long long>(statusMs), qPrintable(status));
    std::printf("  %-34s boxes: %s\n", "", qPrintable(Boxes(sink)));
}

// Moves the running program's TCP link to `port` and watches for `ms`.
bool TcpCase(const char *name, quint16 goodPort, quint16 port, int ms)
{
    Running r("[Schnittstelle]\nEthernet=1\nEthAdresse=127.0.0.1\nEthPort=" + QByteArray::number(goodPort) + "\n");
    if (!r.startCycle()) {
        std::fprintf(stderr, "bench_soak: %s: the cycle did not start against the simulator\n", name);
        return false;
    }
    ProgramState &d = r.station->d;
    TSIOTransfer &io = *d.SIOTransfer;
    io.BClosePortClick();
    RunUntil([&] { return d.TcpConnected == 0; }, 3000);
    r.sink.clear();
    d.StationFlags &= static_cast<quint8>(~StationFlag::SocketError);
    io.SEPort->setValue(port);
    StallProbe probe;
    QElapsedTimer t;
    t.start();
    io.OKClick();
    qint64 statusMs = -1;
    QString status;
    bool asked = false;
    while (t.elapsed() < ms) {
        RunFor(5);
        if (d.TcpConnected == 1 && !asked) {
            asked = true; // a configuration read on the new connection
            d.DeviceConfigForm->BReadConfigClick();
        }
        if (statusMs < 0 && (d.StationFlags & StationFlag::SocketError)) {
            statusMs = t.elapsed();
            status = QStringLiteral("error (0x10), panel 1 \"%1\"").arg(d.Vo3112CCC->StatusBar1->panelText(1));
        }
        if (statusMs < 0 && asked && d.TcpConnected == 0) {
            statusMs = t.elapsed();
            status = QStringLiteral("disconnected, panel 1 \"%1\"").arg(d.Vo3112CCC->StatusBar1->panelText(1));
        }
        if (statusMs < 0 && asked && d.TcpConnected == 1 && !(d.StationFlags & StationFlag::ProcessDataAnswered)) {
            statusMs = t.elapsed();
            status = QStringLiteral("cycle timed out (0x08 clear) with the link up, panel 1 \"%1\"")
                         .arg(d.Vo3112CCC->StatusBar1->panelText(1));
        }
    }
    if (statusMs < 0)
        status = QStringLiteral("nothing told within %1 ms").arg(ms);
    Report(name, probe, statusMs, status, r.sink);
    d.Cont->BStopClick();
    return statusMs >= 0;
}

bool SerialCase(int ms)
{
    auto serial = std::make_unique<SerialSimulator>(QStringList{QStringLiteral("--no-stdin")});
    if (!serial->error().isEmpty()) {
        std::fprintf(stderr, "bench_soak: %s\n", qPrintable(serial->error()));
        return false;
    }
    Running r("[Schnittstelle]\nEthernet=0\nPort=0\nBaud=6\nFrame=3\nComDevice1=" + serial->masterSide().toUtf8() +
              "\n");
    if (!r.startCycle()) {
        std::fprintf(stderr, "bench_soak: serial: the cycle did not start against the simulator\n");
        return false;
    }
    ProgramState &d = r.station->d;
    StallProbe probe;
    QElapsedTimer t;
    t.start();
    serial.reset(); // the adapter pulled
    qint64 statusMs = -1;
    QString status;
    while (t.elapsed() < ms) {
        RunFor(5);
        if (statusMs < 0 && !d.SIOTransfer->Link->SerialPort->isOpen()) {
            statusMs = t.elapsed();
            status = QStringLiteral("port closed, panel 1 \"%1\"").arg(d.Vo3112CCC->StatusBar1->panelText(1));
        }
    }
    if (statusMs < 0)
        status = QStringLiteral("nothing told within %1 ms").arg(ms);
    status += (d.StationFlags & StationFlag::ProcessDataAnswered) ? QStringLiteral(", 0x08 still set")
                                                                  : QStringLiteral(", 0x08 cleared");
    Report("serial adapter pulled", probe, statusMs, status, r.sink);
    d.Cont->BStopClick();
    return statusMs >= 0;
}

} // namespace

int RunLinkFaults()
{
    std::printf("bench_soak --link-faults: the cycle runs (DataTimeout 100 ms), then the link fails; "
                "each case watched for 8 s\n");
    SimulatorProcess good;
    SimulatorProcess reset({QStringLiteral("--reset-mid-reply")});
    SimulatorProcess silent({QStringLiteral("--drop"), QStringLiteral("100")});
    if (good.port() == 0 || reset.port() == 0 || silent.port() == 0) {
        std::fprintf(stderr, "bench_soak: simulator: %s\n", qPrintable(good.error()));
        return 1;
    }
    DeadEndpoint refused(true);
    DeadEndpoint unanswered(false);
    bool ok = true;
    ok &= TcpCase("TCP reset in the middle of a reply", good.port(), reset.port(), 8000);
    ok &= TcpCase("TCP accepts, never answers", good.port(), silent.port(), 8000);
    ok &= TcpCase("TCP connect refused", good.port(), refused.port(), 8000);
    ok &= TcpCase("TCP connect never answered", good.port(), unanswered.port(), 8000);
    ok &= SerialCase(8000);
    return ok ? 0 : 1;
}
