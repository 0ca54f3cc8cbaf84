#include "process/AutomationController.h"

#include "app/Deklarat.h"
#include "link/Transport.h"
#include "process/AutostartSequence.h"
#include "process/CycleEngine.h"

AutomationController::AutomationController(Deklarat &d, CycleEngine &cycle, QObject *parent)
    : QObject(parent), d(d), cycle_(cycle)
{
    TimerAutostart = new QTimer(this);
    TimerAutostart->setObjectName(QStringLiteral("TimerAutostart"));
    TimerAutostart->setInterval(1000);
    connect(TimerAutostart, &QTimer::timeout, this, [this] { TimerAutostartTimer(); });
    TimerAutoRestart = new QTimer(this);
    TimerAutoRestart->setObjectName(QStringLiteral("TimerAutoRestart"));
    TimerAutoRestart->setInterval(2000);
    connect(TimerAutoRestart, &QTimer::timeout, this, [this] { TimerAutoRestartTimer(); });
}

AutomationController::~AutomationController() = default;

void AutomationController::begin()
{
    startPipeServer();
    if (d.CommandLine.AutoStart) {
        d.AutostartStep = 0;
        d.AutostartConfigAttempts = 0;
        StartAutostart();
    }
}

void AutomationController::startPipeServer()
{
    const QString name = d.CommandLine.ServerName;
    if (name.isEmpty() || pipeServer_)
        return;
    emit CaptionSuffixWanted(QStringLiteral(" (") + name + QLatin1Char(')'));
    pipeBridge_.apply = [this](const PipeMessage &request) { ApplyPipeRequest(request); };
    pipeBridge_.respond = [this] { return CurrentPipeResponse(); };
    pipeServer_ = std::make_unique<TServerThread>(name, &pipeBridge_);
    pipeServer_->start();
}

void AutomationController::StartAutostart()
{
    autostartWaited_ = false;
    TimerAutostart->start(1000);
}

void AutomationController::TimerAutostartTimer()
{
    TimerAutostart->stop();
    // "WAIT": the pause before the link opens, without holding the program.
    if (d.AutostartStep == 0 && d.CommandLine.WaitBeforeOpen && !autostartWaited_) {
        autostartWaited_ = true;
        TimerAutostart->start(2000);
        return;
    }
    autostartWaited_ = false;
    AutostartState state{d.AutostartStep, d.StationFlags, d.ReadConfigOnAutostart, d.AutostartConfigAttempts};
    // Flag 0x01 stays set once the port was opened; the sequence needs to know
    // whether it is open now (the adapter may have gone and not come back).
    const quint8 serialFlag = d.StationFlags & StationFlag::SerialOpen;
    if (d.Link && !d.Link->SerialPort->isOpen())
        state.stationFlags &= ~StationFlag::SerialOpen;
    const AutostartTick tick = AutostartStepOf(state, d.CommandLine.ReadDmsParameters);
    d.AutostartStep = tick.next.step;
    d.StationFlags = tick.next.stationFlags | serialFlag;
    d.ReadConfigOnAutostart = tick.next.readConfigOnAutostart;
    d.AutostartConfigAttempts = tick.next.configAttempts;
    switch (tick.action) {
    case AutostartAction::OpenLink:
        emit OpenLinkWanted();
        break;
    case AutostartAction::ReadConfiguration:
        emit ReadConfigurationWanted();
        break;
    case AutostartAction::ReadDmsParameters:
        emit ReadDmsParametersWanted();
        break;
    case AutostartAction::StartCycle:
        emit StartCycleWanted();
        break;
    case AutostartAction::None:
        break;
    }
    if (tick.timerOn)
        TimerAutostart->start(1000);
}

void AutomationController::ApplyPipeRequest(const PipeMessage &request)
{
    for (int m = 0; m < SlotCount; ++m)
        d.DigOutSlotBytes[static_cast<size_t>(m + 1)] = request[static_cast<size_t>(PipeOutputBytesStart + m)];
    // As if the user clicked the boxes: they show the bits that go out.
    emit OutputBitsSet();
    d.PipeControl = request[PipeControlByte];
    if (d.PipeControl & 0x01)
        AutoRestart();
}

PipeMessage AutomationController::CurrentPipeResponse() const
{
    return BuildPipeResponse(d.AnaInValues, d.DigInBytes, d.StationFlags);
}

void AutomationController::AutoRestart()
{
    cycle_.stop();
    d.StationFlags |= StationFlag::RestartUnderWay;
    // The coupler is about to restart: no reply still awaited will come, and
    // the command must go out before the connection closes.
    cycle_.cancelExchange();
    if (d.Link)
        d.Link->lineReset();
    // The restart command: no data, no reply awaited, transaction id unchanged.
    d.TxFrame[6] = d.SlaveAddress;
    d.TxFrame[7] = 0x2A;
    d.TxLength = 8;
    Daten_Transfer(d, 8);
    if (d.TcpConnected == 1)
        emit CloseLinkWanted();
    d.AutostartStep = 0;
    TimerAutoRestart->start();
}

void AutomationController::TimerAutoRestartTimer()
{
    switch (RestartWatchOf(TimerAutostart->isActive(), d.AutostartStep)) {
    case RestartWatchAction::RunSequenceAgain:
        d.AutostartStep = 0;
        d.AutostartConfigAttempts = 0;
        StartAutostart();
        break;
    case RestartWatchAction::EndRestart:
        d.StationFlags &= ~StationFlag::RestartUnderWay;
        TimerAutoRestart->stop();
        break;
    case RestartWatchAction::Nothing:
        break;
    }
}
