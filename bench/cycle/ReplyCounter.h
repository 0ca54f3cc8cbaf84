#pragma once
// Counts the whole function-23 replies in a Modbus/TCP byte stream, read
// events cut anywhere. A reply that comes after its window gave up still
// counts: what is never counted was lost, not slow.
#include <QByteArray>

class ReplyCounter
{
public:
    explicit ReplyCounter(int replyBytes) : replyBytes_(replyBytes) {}
    void feed(const QByteArray &bytes);
    void reset();

    int right() const { return right_; } // function 23, the byte count and length expected
    int wrong() const { return wrong_; } // function 23 (or its exception) otherwise

private:
    int replyBytes_;
    QByteArray carry_;
    int right_ = 0;
    int wrong_ = 0;
};
