#include "SimulatorProcess.h"

#include <QRegularExpression>

SimulatorProcess::SimulatorProcess(const QStringList &options)
{
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(VO_SIM_BINARY),
                   QStringList{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")} + options);
    if (!process_.waitForStarted(5000)) {
        error_ = process_.errorString();
        return;
    }
    // "listening on tcp 127.0.0.1:PORT unit 8"
    static const QRegularExpression listening(QStringLiteral("listening on tcp [0-9.]+:([0-9]+)"));
    while (process_.canReadLine() || process_.waitForReadyRead(5000)) {
        if (!process_.canReadLine())
            continue;
        const QString line = QString::fromUtf8(process_.readLine());
        const QRegularExpressionMatch match = listening.match(line);
        if (match.hasMatch()) {
            port_ = static_cast<quint16>(match.captured(1).toUInt());
            return;
        }
    }
    error_ = QStringLiteral("no \"listening on\" line from ") + QStringLiteral(VO_SIM_BINARY);
}

SimulatorProcess::~SimulatorProcess()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.closeWriteChannel();
    if (!process_.waitForFinished(3000)) {
        process_.terminate();
        process_.waitForFinished(3000);
    }
}
