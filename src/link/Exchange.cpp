#include "link/Exchange.h"

#include "app/Deklarat.h"
#include "link/Transport.h"

#include <QTimer>

#include <algorithm>
#include <limits>

int LineHoldMs(quint16 retryLimit, int period)
{
    // In 64 bits: a long period times the retries must not wrap to a short hold.
    const qint64 hold = (qint64(retryLimit) + 2) * std::max(period, 0);
    return static_cast<int>(std::min<qint64>(hold, std::numeric_limits<int>::max()));
}

Exchange::Exchange(Deklarat &d, int &retries) : d(d), retries_(retries) {}

Exchange::~Exchange()
{
    if (link_)
        link_->giveUp(this);
}

void Exchange::send(QTimer *timer, int period, quint8 length)
{
    // A window that asks anew has given up what it asked before.
    if (active_)
        cancel();
    shape_ = ShapeOfRequest(d.TxFrame, length);
    if (unitChecked_)
        shape_.unit = d.TxFrame[ModbusHeaderSize];
    replyCount_ = 0;
    replyKind_ = ReplyKind::Pending;
    active_ = true;
    timer_ = timer;
    retries_ = 0;
    timer_->start(period);
    link_ = d.Link;
    // The line is held at most as long as the window waits, and one period more.
    const int hold = LineHoldMs(d.RetryLimit, period);
    if (link_)
        link_->submit(this, length, hold);
}

ReplyOutcome Exchange::tick()
{
    if (timer_)
        timer_->stop();
    if (!active_)
        return ReplyOutcome::Idle;
    if (replyCount_ == 0) {
        if (retries_ < d.RetryLimit) {
            ++retries_;
            timer_->start();
            return ReplyOutcome::Pending;
        }
        active_ = false;
        if (link_)
            link_->giveUp(this, true);
        return ReplyOutcome::TimedOut;
    }
    active_ = false;
    d.RxFrame = reply_;
    d.RxCount = replyCount_;
    return replyKind_ == ReplyKind::Exception ? ReplyOutcome::Exception : ReplyOutcome::Data;
}

ReplyOutcome Exchange::tick(QTimer *firing)
{
    if (firing != timer_) {
        firing->stop();
        return ReplyOutcome::Idle;
    }
    return tick();
}

bool Exchange::waiting() const
{
    return active_ && timer_ && timer_->isActive();
}

void Exchange::cancel()
{
    if (timer_)
        timer_->stop();
    active_ = false;
    if (link_)
        link_->giveUp(this);
}

void Exchange::replyArrived(const ModbusBuffer &rx, quint16 count)
{
    if (!active_ || replyCount_ != 0)
        return;
    const ReplyKind kind = ClassifyReply(shape_, rx, count);
    if (kind != ReplyKind::Data && kind != ReplyKind::Exception)
        return;
    reply_ = rx;
    replyCount_ = count;
    replyKind_ = kind;
    if (replyNotice_)
        replyNotice_();
}
