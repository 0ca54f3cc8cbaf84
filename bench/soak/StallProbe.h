#pragma once
// The event loop's punctuality: a 5 ms timer, and how much later than due it
// ticks. Anything that holds up the user-interface thread shows here.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class StallProbe : public QObject
{
public:
    explicit StallProbe(int periodMs = 5);
    void reset();
    double longestMs() const { return static_cast<double>(longestNs_) / 1e6; }
    double longestAtS() const { return static_cast<double>(longestAtNs_) / 1e9; }
    long over50() const { return over50_; }
    long over100() const { return over100_; }

private:
    void tick();
    QTimer timer_;
    QElapsedTimer clock_;
    const qint64 periodNs_;
    qint64 last_ = 0;
    qint64 longestNs_ = 0;
    qint64 longestAtNs_ = 0;
    long over50_ = 0;
    long over100_ = 0;
};

// Runs the event loop for `ms` milliseconds.
void RunFor(int ms);
// Runs the event loop until `done` or `ms` passed; returns done().
template <typename Done> bool RunUntil(Done done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        RunFor(10);
    return done();
}
