#include "SlowEvents.h"

#include "PeriodRecorder.h"

#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace
{

double MeanUs(const std::vector<qint64> &ns)
{
    double sum = 0;
    for (const qint64 v : ns)
        sum += double(v);
    return ns.empty() ? 0 : sum / double(ns.size()) / 1000.0;
}

double P99Us(std::vector<qint64> ns)
{
    if (ns.empty())
        return 0;
    std::sort(ns.begin(), ns.end());
    const size_t rank = static_cast<size_t>(std::ceil(0.99 * double(ns.size())));
    return double(ns[std::max<size_t>(rank, 1) - 1]) / 1000.0;
}

} // namespace

bool TimedApplication::notify(QObject *receiver, QEvent *event)
{
    if (!timing || depth_ > 0 || QThread::currentThread() != thread())
        return QApplication::notify(receiver, event);
    // Taken before: the receiver may be gone after its event (deferred delete).
    const QString name = receiver->objectName().isEmpty() && receiver->parent()
                             ? receiver->parent()->objectName() + QStringLiteral("/-")
                             : receiver->objectName();
    const auto key =
        std::make_tuple(QString::fromLatin1(receiver->metaObject()->className()), name, int(event->type()));
    const QTimer *timer = event->type() == QEvent::Timer ? qobject_cast<QTimer *>(receiver) : nullptr;
    const int interval = timer ? timer->interval() : 0;
    ++depth_;
    const qint64 startNs = NowNs();
    const bool handled = QApplication::notify(receiver, event);
    const qint64 endNs = NowNs();
    --depth_;
    const qint64 ns = endNs - startNs;
    Stats &s = stats_[key];
    ++s.count;
    s.totalNs += ns;
    s.maxNs = std::max(s.maxNs, ns);
    if (ns > stallNs)
        ++s.stalls;
    if (timer)
        timerTicked(name, interval, startNs, endNs);
    return handled;
}

void TimedApplication::timerTicked(const QString &name, int interval, qint64 startNs, qint64 endNs)
{
    const bool bare = name.startsWith(QStringLiteral("Bare"));
    const QString role = bare ? name.mid(4) : name;
    if (role != QStringLiteral("Anfrage") && role != QStringLiteral("Antwort"))
        return;
    CycleTimers &c = cycleTimers_[{bare, interval}];
    const qint64 intervalNs = qint64(interval) * 1000000;
    if (role == QStringLiteral("Anfrage")) {
        // The first tick after Start was armed by Start, not by a check.
        const qint64 late = startNs - c.checkEndNs - intervalNs;
        if (c.checkEndNs > 0 && late < 1000000000)
            c.requestLateNs.push_back(late);
        c.requestStartNs = startNs;
        c.firstCheck = true;
        return;
    }
    if (c.firstCheck && c.requestStartNs > 0)
        c.checkLateNs.push_back(startNs - c.requestStartNs - intervalNs);
    c.firstCheck = false;
    c.checkEndNs = endNs;
}

void TimedApplication::print() const
{
    std::vector<std::pair<std::tuple<QString, QString, int>, Stats>> rows(stats_.begin(), stats_.end());
    std::sort(rows.begin(), rows.end(),
              [](const auto &a, const auto &b) { return a.second.totalNs > b.second.totalNs; });
    std::printf("  event deliveries by total time (receiver class, object name, event type):\n");
    for (size_t i = 0; i < rows.size() && i < 25; ++i) {
        const auto &[key, s] = rows[i];
        std::printf(
            "    %-22s %-22s type %3d: %7lld x, total %8.1f ms, mean %7.1f us, max %7.2f ms, %lld over %.0f ms\n",
            qPrintable(std::get<0>(key)), qPrintable(std::get<1>(key).left(22)), std::get<2>(key),
            static_cast<long long>(s.count), s.totalNs / 1e6, s.totalNs / 1e3 / s.count, s.maxNs / 1e6,
            static_cast<long long>(s.stalls), stallNs / 1e6);
    }
    std::printf("  how late the cycle's timers tick (request timer after the check that armed it, first check\n"
                "  after the request tick that armed it):\n");
    for (const auto &[key, c] : cycleTimers_) {
        std::printf("    %-7s DataTimeout %3d ms: request timer mean %7.1f us, p99 %7.1f us; "
                    "check timer mean %7.1f us, p99 %7.1f us\n",
                    key.first ? "bare" : "program", key.second, MeanUs(c.requestLateNs), P99Us(c.requestLateNs),
                    MeanUs(c.checkLateNs), P99Us(c.checkLateNs));
    }
}
