#pragma once
// The process data cycle without a window: one function code 23 request that
// writes every output and reads every input, paced by the two timers Anfrage
// and Antwort, and its reply decoded into the process image. The control
// window shows and drives it; a program without windows runs it alone.
#include "link/Exchange.h"
#include "process/CyclePacer.h"
#include "process/ValueFreshness.h"
#include "process/ValueRecorder.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class Deklarat;

class CycleEngine : public QObject
{
    Q_OBJECT
public:
    explicit CycleEngine(Deklarat &d, QObject *parent = nullptr);

    QTimer *Anfrage;
    QTimer *Antwort;
    quint8 CycleRunning = 0;
    int ResponseRetries = 0;

    // False, and nothing started, without a configuration.
    bool start();
    // Leaves a check already armed: it runs once and arms no new request.
    void stop();
    // Stops both timers and gives the outstanding request up.
    void halt();
    // Gives the outstanding request up; the cycle's state stays.
    void cancelExchange() { exchange_.cancel(); }

    void AnfrageTimer();
    void AntwortTimer();
    // Decodes the analog inputs of the reply in RxFrame into the image.
    void analog_Input_ist_update();
    // DataTimeout changed: a waiting request or reply check takes the new
    // period at once.
    void DataTimeoutChanged();

    // Analog channels of the last decoded reply.
    int decodedAnalogInputs() const { return decodedAnaIn_; }
    const ValueFreshness &freshness() const { return freshness_; }
    ValueRecorder &recorder() { return recorder_; }

signals:
    // A request is about to be built: whoever holds the analog output values
    // puts them into AnaOutValues now.
    void OutputsWanted();
    // A process data reply was decoded into AnaInAllValues and DigInBytes.
    void InputsDecoded();
    // A response check ended (reply, exception or give-up): the freshness may
    // have changed.
    void CheckEnded();
    void RunningChanged(bool running);

private:
    void setRunning(quint8 running);

    Deklarat &d;
    Exchange exchange_{d, ResponseRetries};
    CyclePacer pacer_;
    QElapsedTimer cycleClock_;
    ValueFreshness freshness_;
    ValueRecorder recorder_;
    int decodedAnaIn_ = 0;
};
