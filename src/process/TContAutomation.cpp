// The control window's part of the unattended operation: the pipe server and
// the automatic restart.
#include "app/Deklarat.h"
#include "app/StatusDisplay.h"
#include "link/Transport.h"
#include "process/AutostartSequence.h"
#include "process/TCont.h"

#include <QGuiApplication>

void TCont::startPipeServer()
{
    const QString name = d.CommandLine.ServerName;
    if (name.isEmpty())
        return;
    const QString suffix = QStringLiteral(" (") + name + QLatin1Char(')');
    QGuiApplication::setApplicationDisplayName(QStringLiteral("vo3112ccc") + suffix);
    if (d.Status)
        d.Status->setCaptionSuffix(suffix);
    pipeBridge_.apply = [this](const PipeMessage &request) { ApplyPipeRequest(request); };
    pipeBridge_.respond = [this] { return CurrentPipeResponse(); };
    pipeServer_ = std::make_unique<TServerThread>(name, &pipeBridge_);
    pipeServer_->start();
}

void TCont::ApplyPipeRequest(const PipeMessage &request)
{
    for (int m = 0; m < SlotCount; ++m) {
        const quint8 bits = request[static_cast<size_t>(PipeOutputBytesStart + m)];
        for (int b = 0; b < 8; ++b) {
            // As if the user clicked the box: the slot's output bits follow.
            outputCheckBox(m + 1, b)->setChecked((bits >> b) & 1);
            OutputCheckBoxClick(73 + 8 * m + b);
        }
    }
    d.PipeControl = request[PipeControlByte];
    if (d.PipeControl & 0x01)
        AutoRestart();
}

PipeMessage TCont::CurrentPipeResponse() const
{
    return BuildPipeResponse(d.AnaInValues, d.DigInBytes, d.StationFlags);
}

void TCont::AutoRestart()
{
    BStopClick();
    d.StationFlags |= StationFlag::RestartUnderWay;
    // The coupler is about to restart: no reply still awaited will come, and
    // the command must go out before the connection closes.
    cycleExchange_.cancel();
    if (d.Link)
        d.Link->lineReset();
    // The restart command: no data, no reply awaited, transaction id unchanged.
    d.TxFrame[6] = d.SlaveAddress;
    d.TxFrame[7] = 0x2A;
    d.TxLength = 8;
    Daten_Transfer(d, 8);
    if (d.TcpConnected == 1)
        emit closePortWanted();
    d.AutostartStep = 0;
    TimerAutoRestart->start();
}

void TCont::TimerAutoRestartTimer()
{
    const bool running = autostartRunning && autostartRunning();
    switch (RestartWatchOf(running, d.AutostartStep)) {
    case RestartWatchAction::RunSequenceAgain:
        d.AutostartStep = 0;
        d.AutostartConfigAttempts = 0;
        emit autostartWanted();
        break;
    case RestartWatchAction::EndRestart:
        d.StationFlags &= ~StationFlag::RestartUnderWay;
        TimerAutoRestart->stop();
        break;
    case RestartWatchAction::Nothing:
        break;
    }
}
