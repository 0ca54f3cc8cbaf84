#pragma once
// The reference for the program's cycle: the same function-23 request on a
// bare QTcpSocket to the same simulator, paced by two QTimers exactly as the
// control window paces it (request after DataTimeout, check after
// DataTimeout, up to RetryLimit more checks), on the same event loop, with no
// decoding, display or monitor. What the machine and Qt allow.
#include "CycleFigures.h"
#include "PeriodRecorder.h"
#include "ReplyCounter.h"

#include <QByteArray>
#include <QTcpSocket>
#include <QTimer>

class BareCycle : public QObject
{
public:
    // `request`: the whole Modbus/TCP frame; a right reply is `replyBytes`
    // long with function 23 and the byte count replyBytes - 9.
    BareCycle(quint16 port, const QByteArray &request, int replyBytes, int retryLimit);
    QString error() const { return error_; }

    CycleSample run(const RunPlan &plan, CycleChecks &checks);

private:
    void requestTick();
    void replyTick();

    QTcpSocket socket_;
    QTimer anfrage_;
    QTimer antwort_;
    PeriodRecorder recorder_;
    QByteArray request_;
    ReplyCounter replies_;
    int repliesBefore_ = 0; // replies counted when the request went out
    int retryLimit_;
    int retries_ = 0;
    int dataTimeoutMs_ = 10;
    bool running_ = false;
    CycleChecks checks_;
    QString error_;
};
