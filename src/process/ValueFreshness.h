#pragma once
// Whether the inputs the control window shows are the coupler's values of now.
// After a reply timed out, or an exception came instead of the data, they are
// only what the last good reply (or the activation) left: the window says so
// instead of showing them as live.
#include <QString>
#include <QTime>

class ValueFreshness
{
public:
    enum class State {
        Current,   // the last check decoded a reply (or nothing was checked yet)
        NoAnswer,  // the last request timed out
        Exception, // the last reply was an exception
    };

    // Start of the cycle: a silent coupler counts as silent from now on.
    void started(const QTime &now);
    // A reply whose values were taken.
    void answered(const QTime &now);
    // An exception reply: the coupler is there, the values are not.
    void refused(quint8 exceptionCode, const QTime &now);
    // The request got no reply within its checks.
    void timedOut();

    State state() const { return state_; }
    bool current() const { return state_ == State::Current; }
    // Since when nothing has come back: the last reply of any kind, or the start.
    QTime silentSince() const { return lastHeard_; }
    quint8 exceptionCode() const { return exceptionCode_; }

private:
    State state_ = State::Current;
    QTime lastHeard_;
    quint8 exceptionCode_ = 0;
};

// The line under the values: empty while they are current; `noAnswerSince`
// is the looked-up lead text ("keine Antwort seit" / "no answer since").
QString NotCurrentText(const ValueFreshness &freshness, const QString &noAnswerSince);
