#include "process/CyclePacer.h"

#include <algorithm>

namespace
{

constexpr qint64 NsPerMs = 1000000;

} // namespace

void CyclePacer::requestSent(qint64 nowNs, int dataTimeoutMs)
{
    const qint64 slack = qint64(dataTimeoutMs) * NsPerMs;
    if (next_ == NotScheduled || nowNs - next_ > slack || nowNs < next_ - slack)
        due_ = nowNs;
    else
        due_ = next_;
    next_ = NotScheduled;
}

int CyclePacer::nextRequestDelayMs(qint64 nowNs, int dataTimeoutMs, int checks)
{
    if (due_ == NotScheduled) {
        next_ = NotScheduled;
        return dataTimeoutMs;
    }
    next_ = due_ + qint64(checks + 1) * dataTimeoutMs * NsPerMs;
    const qint64 left = (next_ - nowNs + NsPerMs / 2) / NsPerMs;
    return static_cast<int>(std::clamp<qint64>(left, 0, dataTimeoutMs));
}
