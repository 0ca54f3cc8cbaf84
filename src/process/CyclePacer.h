#pragma once
// Paces the process data cycle: a request every 2 x DataTimeout, also when
// the timers tick late. Each timer is armed from its own tick, so without
// this every late tick would lengthen the period for good.
#include <QtGlobal>

class CyclePacer
{
public:
    // A request goes out now (ns on a monotonic clock). It keeps the schedule
    // unless it is more than one DataTimeout behind it (the first request, a
    // restart, a long stall): then the schedule starts again from now.
    void requestSent(qint64 nowNs, int dataTimeoutMs);

    // The check of the request ended after `checks` ticks of the reply timer
    // (1 when the first tick found the reply). Interval for the request timer:
    // what is left until the next request is due, at most DataTimeout.
    int nextRequestDelayMs(qint64 nowNs, int dataTimeoutMs, int checks);

    void reset() { due_ = NotScheduled; }

private:
    static constexpr qint64 NotScheduled = -1;
    qint64 due_ = NotScheduled; // when the current request was due
    qint64 next_ = NotScheduled;
};
