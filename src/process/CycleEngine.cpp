#include "process/CycleEngine.h"

#include "app/Deklarat.h"
#include "link/Transport.h"
#include "process/ProcessImage.h"

#include <QTime>
#include <algorithm>

CycleEngine::CycleEngine(Deklarat &d, QObject *parent) : QObject(parent), d(d), recorder_(d)
{
    Anfrage = new QTimer(this);
    Anfrage->setObjectName(QStringLiteral("Anfrage"));
    Antwort = new QTimer(this);
    Antwort->setObjectName(QStringLiteral("Antwort"));
    // Each cycle re-arms its timers from their own tick: a coarse timer's
    // allowed lateness (up to 5 % of the interval) would add up twice a cycle.
    Anfrage->setTimerType(Qt::PreciseTimer);
    Antwort->setTimerType(Qt::PreciseTimer);
    connect(Anfrage, &QTimer::timeout, this, [this] { AnfrageTimer(); });
    connect(Antwort, &QTimer::timeout, this, [this] { AntwortTimer(); });
    cycleClock_.start();
}

void CycleEngine::setRunning(quint8 running)
{
    CycleRunning = running;
    emit RunningChanged(running == 1);
}

bool CycleEngine::start()
{
    if (d.StationConfig.ConfigValid != 1)
        return false;
    freshness_.started(QTime::currentTime());
    Anfrage->start(d.DataTimeout);
    setRunning(1);
    return true;
}

void CycleEngine::stop()
{
    Anfrage->stop();
    setRunning(0);
}

void CycleEngine::halt()
{
    exchange_.cancel();
    Anfrage->stop();
    setRunning(0);
}

void CycleEngine::DataTimeoutChanged()
{
    if (Anfrage->isActive())
        Anfrage->start(d.DataTimeout);
    if (Antwort->isActive())
        Antwort->start(d.DataTimeout);
}

void CycleEngine::AnfrageTimer()
{
    Anfrage->stop();
    emit OutputsWanted();
    const StationConfiguration &config = d.StationConfig;
    PackDigitalOutputs(config.SlotModuleIds, d.DigOutSlotBytes, d.DigOutBytes);
    d.TxLength = BuildProcessDataRequest(config, d.SlaveAddress, d.AnaOutValues, d.DigOutBytes, d.TxFrame);
    pacer_.requestSent(cycleClock_.nsecsElapsed(), d.DataTimeout);
    exchange_.send(Antwort, d.DataTimeout, d.TxLength);
}

void CycleEngine::AntwortTimer()
{
    switch (exchange_.tick()) {
    case ReplyOutcome::Idle:
        return;
    case ReplyOutcome::Pending:
        return;
    case ReplyOutcome::TimedOut:
        d.StationFlags &= static_cast<quint8>(~StationFlag::ProcessDataAnswered);
        freshness_.timedOut();
        break;
    case ReplyOutcome::Exception:
        // The coupler answered (0x08, as pipe clients know it), but sent no
        // values: the image stays and is marked as not current.
        d.StationFlags |= StationFlag::ProcessDataAnswered;
        freshness_.refused(d.RxFrame[8], QTime::currentTime());
        break;
    case ReplyOutcome::Data: {
        d.StationFlags |= StationFlag::ProcessDataAnswered;
        const bool tcp = d.Link && d.Link->tcpOpen();
        if (IsProcessDataReply(d.RxFrame, d.RxCount, d.StationConfig, tcp)) {
            analog_Input_ist_update();
            if (d.StationConfig.DigInCount > 0)
                DecodeDigitalInputs(d.RxFrame, d.StationConfig, d.DigInBytes);
            freshness_.answered(QTime::currentTime());
            emit InputsDecoded();
        }
        break;
    }
    }
    emit CheckEnded();
    if (CycleRunning == 1)
        Anfrage->start(pacer_.nextRequestDelayMs(cycleClock_.nsecsElapsed(), d.DataTimeout, ResponseRetries + 1));
}

void CycleEngine::analog_Input_ist_update()
{
    const StationConfiguration &config = d.StationConfig;
    decodedAnaIn_ = 0;
    if (config.AnaInCount + config.AnaIn32Count == 0)
        return;
    const int decoded = DecodeAnalogInputs(d.RxFrame, config, d.AnaInAllValues);
    std::copy_n(d.AnaInAllValues.begin(), std::min<size_t>(static_cast<size_t>(decoded), d.AnaInValues.size()),
                d.AnaInValues.begin());
    decodedAnaIn_ = decoded;
}
