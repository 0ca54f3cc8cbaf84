#include "RtuFramer.h"

#include "Crc.h"

namespace sim
{

int rtuRequestLength(std::span<const uint8_t> start)
{
    if (start.size() < 2)
        return 0;
    switch (start[1]) {
    case 3:
    case 4:
    case 6:
        return 8;
    case 16:
        return start.size() < 7 ? 0 : 9 + start[6];
    case 23:
        return start.size() < 11 ? 0 : 13 + start[10];
    case 42:
        return 4;
    case 43:
        return 7;
    default:
        return -1;
    }
}

namespace
{

bool crcMatches(std::span<const uint8_t> frame)
{
    if (frame.size() < 4)
        return false;
    const uint16_t crc = modbusCrc(frame.first(frame.size() - 2));
    return frame[frame.size() - 2] == (crc & 0xFF) && frame[frame.size() - 1] == (crc >> 8);
}

} // namespace

void RtuFramer::finish(std::vector<uint8_t> frame)
{
    if (crcMatches(frame))
        frames_.push_back(std::move(frame));
    else
        discarding_ = true;
}

void RtuFramer::cut()
{
    while (!discarding_) {
        const int length = rtuRequestLength(buffer_);
        if (length <= 0 || buffer_.size() < static_cast<size_t>(length))
            return;
        std::vector<uint8_t> frame(buffer_.begin(), buffer_.begin() + length);
        buffer_.erase(buffer_.begin(), buffer_.begin() + length);
        finish(std::move(frame));
    }
    buffer_.clear();
}

void RtuFramer::feed(std::span<const uint8_t> bytes)
{
    if (discarding_)
        return;
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    cut();
}

void RtuFramer::silence()
{
    if (!discarding_ && !buffer_.empty())
        finish(std::move(buffer_));
    buffer_.clear();
    discarding_ = false;
}

std::vector<uint8_t> RtuFramer::takeFrame()
{
    std::vector<uint8_t> frame = std::move(frames_.front());
    frames_.pop_front();
    return frame;
}

} // namespace sim
