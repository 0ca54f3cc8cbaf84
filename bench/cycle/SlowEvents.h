#pragma once
// Diagnosis: the application object that times every outermost event
// delivery of the user-interface thread, by receiver and event type, so that
// what holds up the event loop (and with it the cycle's timers) can be named.
#include <QApplication>
#include <QElapsedTimer>
#include <map>
#include <tuple>

class TimedApplication : public QApplication {
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
    std::map<std::tuple<QString, QString, int>, Stats> stats_;
    int depth_ = 0;
};
