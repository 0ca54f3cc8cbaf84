#include "ReplyCounter.h"

void ReplyCounter::feed(const QByteArray &bytes)
{
    carry_ += bytes;
    while (carry_.size() >= 6) {
        const int length = 6 + ((quint8(carry_[4]) << 8) | quint8(carry_[5]));
        if (carry_.size() < length)
            return;
        const quint8 function = length > 7 ? quint8(carry_[7]) : 0;
        if (function == 0x17 && length == replyBytes_ && quint8(carry_[8]) == replyBytes_ - 9)
            ++right_;
        else if ((function & 0x7F) == 0x17)
            ++wrong_;
        carry_.remove(0, length);
    }
}

void ReplyCounter::reset()
{
    carry_.clear();
    right_ = 0;
    wrong_ = 0;
}
