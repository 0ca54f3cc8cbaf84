#include "Figures.h"

#include <QFile>
#include <algorithm>
#include <cmath>

Latency Summarize(std::vector<qint64> ns)
{
    Latency latency;
    if (ns.empty())
        return latency;
    std::sort(ns.begin(), ns.end());
    const size_t n = ns.size();
    const double median = n % 2 ? double(ns[n / 2]) : (double(ns[n / 2 - 1]) + double(ns[n / 2])) / 2;
    const size_t rank = static_cast<size_t>(std::ceil(0.99 * double(n)));
    latency.medianUs = median / 1000.0;
    latency.p99Us = double(ns[std::max<size_t>(rank, 1) - 1]) / 1000.0;
    return latency;
}

long ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return 0;
}
