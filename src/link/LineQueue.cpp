#include "link/LineQueue.h"

#include <algorithm>

LineQueue::Admission LineQueue::submit(const LineRequest &request)
{
    if (!outstanding_) {
        outstanding_ = request;
        return Admission::SendNow;
    }
    if (request.owner == nullptr && std::count_if(queue_.begin(), queue_.end(), [](const LineRequest &r) {
                                        return r.owner == nullptr;
                                    }) >= MaxWaitingUnowned)
        return Admission::Refused;
    queue_.push_back(request);
    return Admission::Waiting;
}

std::optional<LineRequest> LineQueue::finish()
{
    outstanding_.reset();
    if (queue_.empty())
        return std::nullopt;
    outstanding_ = queue_.front();
    queue_.pop_front();
    return outstanding_;
}

std::optional<LineRequest> LineQueue::withdraw(const Exchange *owner)
{
    if (owner == nullptr)
        return std::nullopt;
    queue_.erase(
        std::remove_if(queue_.begin(), queue_.end(), [owner](const LineRequest &r) { return r.owner == owner; }),
        queue_.end());
    if (isOutstanding(owner))
        return finish();
    return std::nullopt;
}

void LineQueue::clear()
{
    outstanding_.reset();
    queue_.clear();
}
