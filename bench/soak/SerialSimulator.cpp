#include "SerialSimulator.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

SerialSimulator::SerialSimulator(const QStringList &options)
{
    const QString simSide = dir_.filePath(QStringLiteral("sim"));
    socat_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    socat_.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + simSide,
                                           QStringLiteral("pty,raw,echo=0,link=") + masterSide()});
    if (!socat_.waitForStarted(5000)) {
        error_ = QStringLiteral("socat: ") + socat_.errorString();
        return;
    }
    QElapsedTimer wait;
    wait.start();
    while (!(QFileInfo::exists(simSide) && QFileInfo::exists(masterSide())) && wait.elapsed() < 5000)
        QThread::msleep(20);
    if (!QFileInfo::exists(simSide) || !QFileInfo::exists(masterSide())) {
        error_ = QStringLiteral("socat made no pty pair");
        return;
    }
    sim_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim_.start(QStringLiteral(VO_SIM_BINARY), QStringList{QStringLiteral("--rtu"), simSide} + options);
    if (!sim_.waitForStarted(5000)) {
        error_ = sim_.errorString();
        return;
    }
    while (sim_.canReadLine() || sim_.waitForReadyRead(5000)) {
        if (sim_.canReadLine() && sim_.readLine().startsWith("listening on"))
            return;
    }
    error_ = QStringLiteral("no \"listening on\" line from the simulator");
}

SerialSimulator::~SerialSimulator()
{
    for (QProcess *p : {&sim_, &socat_}) {
        if (p->state() == QProcess::NotRunning)
            continue;
        p->closeWriteChannel();
        p->terminate();
        if (!p->waitForFinished(3000)) {
            p->kill();
            p->waitForFinished(3000);
        }
    }
}
