#pragma once
// The one request/reply helper of every window that talks to the coupler.
//
//   send(timer, period, length)  arms the window's response timer, sets its
//                                retry counter to 0 and hands the request in
//                                TxFrame to the line, which sends it when no
//                                other exchange is outstanding;
//   tick()                       on each tick of that timer: Pending (timer
//                                armed again, below RetryLimit), TimedOut
//                                (the line is let go), Exception or Data, with
//                                the window's own reply in RxFrame/RxCount.
//
// Whatever the line carried meanwhile (the cycle runs beside the parameter
// windows), the window only ever sees the reply to its own request. Texts,
// memo lines and side effects stay with the window.
#include "link/ReplyMatch.h"

#include <QPointer>

#include <functional>

class Deklarat;
class QTimer;
class Transport;

enum class ReplyOutcome {
    Idle,      // nothing was asked, or the request was given up before
    Pending,   // no reply yet; the timer runs again
    TimedOut,  // no reply within RetryLimit + 1 periods
    Exception, // Modbus exception: the code is in RxFrame[8]
    Data,      // the reply, from RxFrame[8] on
};

// How long a request may keep the line: as long as its window waits
// (RetryLimit + 1 periods) and one period more, at most what a timer takes.
int LineHoldMs(quint16 retryLimit, int period);

class Exchange
{
public:
    // `retries` is the window's own retry counter (two timers of one window
    // may share it).
    Exchange(Deklarat &d, int &retries);
    ~Exchange();
    Exchange(const Exchange &) = delete;
    Exchange &operator=(const Exchange &) = delete;

    // The reply must also come from the unit the request went to.
    void setUnitChecked(bool on) { unitChecked_ = on; }
    // Called once the reply to the request is held (from inside the receive
    // path: do not send from it). A program with nothing else to do may tick
    // at once instead of waiting for the period; the windows leave it empty.
    void setReplyNotice(std::function<void()> notice) { replyNotice_ = std::move(notice); }

    void send(QTimer *timer, int period, quint8 length);
    ReplyOutcome tick();
    // The same, for windows whose timers share the helper: a tick of the
    // timer that is not armed for the request now outstanding stops it and is
    // Idle.
    ReplyOutcome tick(QTimer *firing);
    // Gives the request up (Stop, Back, a new request): its timer stops and
    // the line goes to the next request.
    void cancel();

    bool active() const { return active_; }
    // The request outstanding is the one `timer` checks.
    bool awaiting(const QTimer *timer) const { return active_ && timer_ == timer; }
    // Asked and the response timer still runs: the window will tick again.
    bool waiting() const;
    const RequestShape &shape() const { return shape_; }

    // From the transport: the reply to this exchange's request arrived.
    void replyArrived(const ModbusBuffer &rx, quint16 count);

private:
    Deklarat &d;
    int &retries_;
    QTimer *timer_ = nullptr;
    QPointer<Transport> link_;
    RequestShape shape_;
    bool unitChecked_ = false;
    std::function<void()> replyNotice_;
    bool active_ = false;
    ModbusBuffer reply_{};
    quint16 replyCount_ = 0;
    ReplyKind replyKind_ = ReplyKind::Pending;
};
