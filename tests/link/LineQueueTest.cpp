// The order in which requests get the line.
#include "link/LineQueue.h"

#include <gtest/gtest.h>

namespace
{

// Owners are only compared, never called.
Exchange *owner(int n)
{
    return reinterpret_cast<Exchange *>(static_cast<quintptr>(0x1000 * n));
}

LineRequest request(Exchange *who, quint16 id)
{
    LineRequest r;
    r.owner = who;
    r.transactionId = id;
    return r;
}

TEST(LineQueue, FirstComeFirstServedOneAtATime)
{
    LineQueue q;
    EXPECT_EQ(q.state(), LineQueue::State::Idle);
    EXPECT_EQ(q.submit(request(owner(1), 1)), LineQueue::Admission::SendNow);
    EXPECT_EQ(q.submit(request(owner(2), 2)), LineQueue::Admission::Waiting);
    EXPECT_EQ(q.submit(request(nullptr, 3)), LineQueue::Admission::Waiting);
    EXPECT_EQ(q.submit(request(owner(3), 4)), LineQueue::Admission::Waiting);
    EXPECT_EQ(q.state(), LineQueue::State::Awaiting);
    EXPECT_TRUE(q.isOutstanding(owner(1)));
    for (quint16 next : {2, 3, 4}) {
        const std::optional<LineRequest> r = q.finish();
        ASSERT_TRUE(r);
        EXPECT_EQ(r->transactionId, next);
        EXPECT_EQ(q.outstanding()->transactionId, next);
    }
    EXPECT_FALSE(q.finish());
    EXPECT_EQ(q.state(), LineQueue::State::Idle);
}

TEST(LineQueue, GivingUpLeavesTheQueueOrFreesTheLine)
{
    LineQueue q;
    q.submit(request(owner(1), 1));
    q.submit(request(owner(2), 2));
    q.submit(request(owner(3), 3));
    // A waiting owner gives up: the line stays with the outstanding one.
    EXPECT_FALSE(q.withdraw(owner(2)));
    EXPECT_TRUE(q.isOutstanding(owner(1)));
    EXPECT_EQ(q.waiting(), 1);
    // The outstanding owner gives up: the next goes out.
    const std::optional<LineRequest> next = q.withdraw(owner(1));
    ASSERT_TRUE(next);
    EXPECT_EQ(next->owner, owner(3));
    // Nobody owns requests that await no reply: they cannot be withdrawn.
    q.submit(request(nullptr, 9));
    EXPECT_FALSE(q.withdraw(nullptr));
    EXPECT_EQ(q.waiting(), 1);
    q.clear();
    EXPECT_EQ(q.state(), LineQueue::State::Idle);
    EXPECT_EQ(q.waiting(), 0);
}

TEST(LineQueue, FramesThatAwaitNoReplyWaitInBoundedNumber)
{
    LineQueue q;
    q.submit(request(owner(1), 0));
    for (int i = 0; i < LineQueue::MaxWaitingUnowned; ++i)
        EXPECT_EQ(q.submit(request(nullptr, static_cast<quint16>(i))), LineQueue::Admission::Waiting) << i;
    EXPECT_EQ(q.submit(request(nullptr, 99)), LineQueue::Admission::Refused);
    // A window's request still gets its turn.
    EXPECT_EQ(q.submit(request(owner(2), 100)), LineQueue::Admission::Waiting);
    EXPECT_EQ(q.waiting(), LineQueue::MaxWaitingUnowned + 1);
}

} // namespace
