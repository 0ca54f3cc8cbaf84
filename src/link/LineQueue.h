#pragma once
// One exchange at a time on the line, the others waiting their turn in the
// order they were handed over. A plain state machine; the transport does the
// sending, the timing and the receiving around it.
//
//   Idle --submit--> Awaiting --finish/withdraw(outstanding)--> next or Idle
//
// The outstanding exchange ends when a whole reply arrived, when its window
// gave it up, or (a request that awaits no reply) when its hold time passed.
#include "link/ReplyMatch.h"

#include <deque>
#include <optional>

class Exchange;

struct LineRequest {
    Exchange *owner = nullptr; // null: no reply awaited (restart command, free communication)
    ModbusBuffer frame{};      // TxFrame as it was when handed over; the line's TxFrame is shared
    quint8 length = 0;
    quint16 transactionId = 0;
    RequestShape shape;
    int holdMs = 0; // longest time the request keeps the line once it went out
};

class LineQueue
{
public:
    enum class State { Idle, Awaiting };

    State state() const { return outstanding_ ? State::Awaiting : State::Idle; }
    const std::optional<LineRequest> &outstanding() const { return outstanding_; }
    int waiting() const { return static_cast<int>(queue_.size()); }

    // Requests that await no reply may be handed over faster than the line
    // carries them (free communication's automatic send against a silent
    // coupler): at most this many wait; a window's requests wait one each.
    static constexpr int MaxWaitingUnowned = 16;

    enum class Admission { SendNow, Waiting, Refused };
    // SendNow: the line was idle and the request is now outstanding.
    Admission submit(const LineRequest &request);

    // The outstanding exchange is over; returns the request to send next, now outstanding.
    std::optional<LineRequest> finish();

    // An owner gives up: its waiting requests leave the queue; if its request
    // is the outstanding one, that ends too and the next is returned.
    std::optional<LineRequest> withdraw(const Exchange *owner);

    bool isOutstanding(const Exchange *owner) const { return outstanding_ && outstanding_->owner == owner; }

    // The link went down or changed: nothing outstanding can be answered.
    void clear();

private:
    std::optional<LineRequest> outstanding_;
    std::deque<LineRequest> queue_;
};
