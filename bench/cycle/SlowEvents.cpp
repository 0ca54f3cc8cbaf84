#include "SlowEvents.h"

#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

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
    ++depth_;
    QElapsedTimer t;
    t.start();
    const bool handled = QApplication::notify(receiver, event);
    const qint64 ns = t.nsecsElapsed();
    --depth_;
    Stats &s = stats_[key];
    ++s.count;
    s.totalNs += ns;
    s.maxNs = std::max(s.maxNs, ns);
    if (ns > stallNs)
        ++s.stalls;
    return handled;
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
}
