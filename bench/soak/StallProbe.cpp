#include "StallProbe.h"

#include <QEventLoop>

StallProbe::StallProbe(int periodMs) : periodNs_(static_cast<qint64>(periodMs) * 1000000)
{
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    timer_.start(periodMs);
    clock_.start();
    last_ = clock_.nsecsElapsed();
}

void StallProbe::reset()
{
    longestNs_ = longestAtNs_ = 0;
    over50_ = over100_ = 0;
    last_ = clock_.nsecsElapsed();
}

void StallProbe::tick()
{
    const qint64 now = clock_.nsecsElapsed();
    const qint64 stall = now - last_ - periodNs_;
    last_ = now;
    if (stall > longestNs_) {
        longestNs_ = stall;
        longestAtNs_ = now;
    }
    over50_ += stall > 50000000 ? 1 : 0;
    over100_ += stall > 100000000 ? 1 : 0;
}

void RunFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
