#pragma once
// Diagnosis: the application object that times every outermost event
// delivery of the user-interface thread, by receiver and event type, so that
// what holds up the event loop (and with it the cycle's timers) can be named.
// It also tells how late the request and reply timers tick (timers named
// Anfrage/Antwort, the reference's BareAnfrage/BareAntwort): the request
// timer against the end of the check that armed it, the first check against
// the start of the request tick that armed it (so this includes the few
// microseconds the handlers spend before arming).
#include <QApplication>
#include <QElapsedTimer>
#include <map>
#include <tuple>
#include <vector>

class TimedApplication : public QApplication
{
public:
    TimedApplication(int &argc, char **argv) : QApplication(argc, argv) {}
    bool notify(QObject *receiver, QEvent *event) override;

    bool timing = false;
    // Deliveries longer than this count as stalls.
    qint64 stallNs = 2000000;
    void print() const;

private:
    struct Stats {
        qint64 count = 0;
        qint64 totalNs = 0;
        qint64 maxNs = 0;
        qint64 stalls = 0;
    };
    void timerTicked(const QString &name, int interval, qint64 startNs, qint64 endNs);

    std::map<std::tuple<QString, QString, int>, Stats> stats_;
    int depth_ = 0;

    struct CycleTimers {
        qint64 requestStartNs = 0;
        qint64 checkEndNs = 0;
        bool firstCheck = false;
        std::vector<qint64> requestLateNs;
        std::vector<qint64> checkLateNs;
    };
    // By reference or program, and interval.
    std::map<std::pair<bool, int>, CycleTimers> cycleTimers_;
};
