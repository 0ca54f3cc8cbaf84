#include "link/ReplyAssembler.h"

#include "link/ModbusCrc.h"
#include "link/RtuReplyLength.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int MinimumPdu = 3;       // unit, function, one byte of data
constexpr int MinimumRtuReply = 5;  // the same and the CRC

bool crcMatches(const quint8 *frame, int length)
{
    const quint16 crc = ModbusCrc16(frame, length - 2);
    return frame[length - 2] == (crc & 0xFF) && frame[length - 1] == (crc >> 8);
}

} // namespace

void ReplyAssembler::reset()
{
    staged_ = 0;
    deliveredEnd_ = 0;
    complete_ = false;
    overflowed_ = false;
    source_ = Source::None;
}

bool ReplyAssembler::skipFrame(ModbusBuffer &rx, quint16 &rxCount)
{
    if (!complete_)
        return false;
    const int rest = std::max(0, staged_ - deliveredEnd_);
    std::memmove(staging_.data(), staging_.data() + deliveredEnd_, static_cast<size_t>(rest));
    staged_ = rest;
    deliveredEnd_ = 0;
    complete_ = false;
    overflowed_ = false;
    if (source_ == Source::Tcp)
        completeTcp(rx, rxCount);
    else if (source_ == Source::Serial)
        completeSerial(rx, rxCount);
    return complete_;
}

void ReplyAssembler::takeFrom(Source source)
{
    // Bytes of the two links never belong to one frame.
    if (source_ != source && source_ != Source::None) {
        staged_ = 0;
        overflowed_ = false;
    }
    source_ = source;
}

QString ReplyAssembler::feedTcp(const quint8 *data, int count, ModbusBuffer &rx,
                                quint16 &rxCount)
{
    const QString text = TcpReceiveText(data, count);
    if (complete_ || data == nullptr || count <= 0)
        return text;
    takeFrom(Source::Tcp);
    const int taken = std::min(count, Capacity - staged_);
    std::memcpy(staging_.data() + staged_, data, static_cast<size_t>(taken));
    staged_ += taken;
    completeTcp(rx, rxCount);
    return text;
}

void ReplyAssembler::completeTcp(ModbusBuffer &rx, quint16 &rxCount)
{
    if (staged_ < ModbusHeaderSize)
        return;
    const int protocol = (staging_[2] << 8) | staging_[3];
    const int pdu = (staging_[4] << 8) | staging_[5];
    const int total = ModbusHeaderSize + pdu;
    if (protocol != 0 || pdu < MinimumPdu || total > Capacity || staged_ < total)
        return;
    std::memcpy(rx.data(), staging_.data(), static_cast<size_t>(total));
    rxCount = static_cast<quint16>(total);
    deliveredEnd_ = total;
    complete_ = true;
}

QString ReplyAssembler::feedSerial(const quint8 *data, int count, ModbusBuffer &rx,
                                   quint16 &rxCount)
{
    const QString text = SerialReceiveText(data, count);
    if (complete_ || data == nullptr || count <= 0)
        return text;
    takeFrom(Source::Serial);
    for (int i = 0; i < count && !overflowed_; ++i) {
        if (staged_ >= SerialCapacity)
            dropImpossibleSerialStarts();
        // Storing behind a gap would stitch unrelated bytes together.
        if (staged_ >= SerialCapacity) {
            overflowed_ = true;
            break;
        }
        staging_[staged_++] = data[i];
    }
    completeSerial(rx, rxCount);
    return text;
}

void ReplyAssembler::dropImpossibleSerialStarts()
{
    int start = 0;
    while (start < staged_) {
        const RtuReplyLength length = RtuReplyLengthOf(staging_.data() + start, staged_ - start);
        bool impossible = length.kind == RtuReplyLength::Invalid;
        if (length.kind == RtuReplyLength::Known) {
            impossible = length.length > SerialCapacity ||
                         (staged_ - start >= length.length &&
                          !crcMatches(staging_.data() + start, length.length));
        }
        if (!impossible)
            break;
        ++start;
    }
    if (start == 0)
        return;
    std::memmove(staging_.data(), staging_.data() + start, static_cast<size_t>(staged_ - start));
    staged_ -= start;
}

void ReplyAssembler::completeSerial(ModbusBuffer &rx, quint16 &rxCount)
{
    dropImpossibleSerialStarts();
    if (staged_ < MinimumRtuReply)
        return;
    const RtuReplyLength first = RtuReplyLengthOf(staging_.data(), staged_);
    if (first.kind == RtuReplyLength::Known) {
        // After the drop above a fully received known-length start has a right CRC.
        if (staged_ >= first.length)
            deliverSerial(0, first.length, rx, rxCount);
        return;
    }
    if (first.kind != RtuReplyLength::Unknown)
        return;
    if (crcMatches(staging_.data(), staged_)) {
        deliverSerial(0, staged_, rx, rxCount);
        return;
    }
    for (int start = 1; start + MinimumRtuReply <= staged_; ++start) {
        const RtuReplyLength later = RtuReplyLengthOf(staging_.data() + start, staged_ - start);
        if (later.kind == RtuReplyLength::Known && later.length <= staged_ - start &&
            crcMatches(staging_.data() + start, later.length)) {
            deliverSerial(start, later.length, rx, rxCount);
            return;
        }
    }
}

void ReplyAssembler::deliverSerial(int start, int length, ModbusBuffer &rx, quint16 &rxCount)
{
    std::memcpy(rx.data() + ModbusHeaderSize, staging_.data() + start, static_cast<size_t>(length));
    rxCount = static_cast<quint16>(ModbusHeaderSize + length);
    deliveredEnd_ = start + length;
    complete_ = true;
}
