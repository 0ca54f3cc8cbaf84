#include "MonitorThroughput.h"

#include "Figures.h"
#include "app/Station.h"
#include "link/ModbusFrame.h"
#include "monitor/TVo3112CCC.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <ctime>

namespace
{

// Send and receive renderings of slot-list reads, as the transport makes them.
struct Texts {
    std::vector<QString> send;
    std::vector<QString> receive;
};

Texts MakeTexts()
{
    Texts texts;
    for (quint16 transaction = 1; transaction <= 64; ++transaction) {
        ModbusBuffer tx{};
        const quint8 request[] = {0x08, 0x04, 0x10, 0x00, 0x00, 0x0E};
        std::copy(std::begin(request), std::end(request), tx.begin() + 6);
        texts.send.push_back(BuildTcpFrame(tx, 12, transaction).hexText);
        quint8 reply[37] = {quint8(transaction >> 8), quint8(transaction), 0, 0, 0, 31, 0x08, 0x04, 28};
        for (int i = 9; i < 37; ++i)
            reply[i] = quint8(i * 7 + transaction);
        texts.receive.push_back(TcpReceiveText(reply, 37));
    }
    return texts;
}

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

qint64 CountLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    qint64 lines = 0;
    while (!file.atEnd())
        lines += file.read(1 << 20).count('\n');
    return lines;
}

} // namespace

MonitorFigures MeasureMonitor(int frames, bool repaintEachFrame)
{
    MonitorFigures figures;
    figures.frames = frames;
    QTemporaryDir folder;
    RecordingMessageSink sink;
    Station station(QStringList{}, folder.path());
    station.d.setMessageSink(&sink);
    station.start();
    TVo3112CCC *window = station.d.Vo3112CCC;

    window->MonitorLines->setCurrentIndex(6);
    window->MonitorLinesChange(6);
    // A bare name would go to the current folder; the figures count this one.
    window->Edit3->setText(folder.filePath(QStringLiteral("Datenverkehr.txt")));
    window->SpeichernClick();
    figures.lineLimit = window->MonitorLineLimit;
    if (!window->TrafficSaving) {
        figures.error = QStringLiteral("the traffic file could not be opened");
        return figures;
    }

    const Texts texts = MakeTexts();
    QCoreApplication::processEvents();
    figures.rssKiB[0] = ResidentKiB();
    const Clock::time_point start = Clock::now();
    const double cpuStart = CpuSeconds();
    for (int i = 0; i < frames; ++i) {
        const size_t variant = static_cast<size_t>(i) % texts.send.size();
        window->ShowSendData(texts.send[variant]);
        window->AddSendSeparator();
        window->ShowReceivedData(texts.receive[variant]);
        window->AddReceiveSeparator();
        // Each reply is one socket event, and the window repaints after it;
        // without that the loop still gets a turn now and then.
        if (repaintEachFrame || i % 1000 == 999)
            QCoreApplication::processEvents();
        const int done = i + 1;
        if (done == frames / 10)
            figures.rssKiB[1] = ResidentKiB();
        if (done == frames / 2)
            figures.rssKiB[2] = ResidentKiB();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpuSeconds = CpuSeconds() - cpuStart;
    figures.rssKiB[3] = ResidentKiB();
    figures.framesPerSecond = seconds > 0 ? frames / seconds : 0;
    figures.framesPerCpuSecond = cpuSeconds > 0 ? frames / cpuSeconds : 0;
    figures.sendLines = window->monitorLineCount(true);
    figures.receiveLines = window->monitorLineCount(false);
    window->SpeichernClick();
    figures.fileLines = CountLines(folder.filePath(QStringLiteral("Datenverkehr.txt")));
    return figures;
}
