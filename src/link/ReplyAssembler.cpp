#include "link/ReplyAssembler.h"

#include "link/ModbusCrc.h"
#include "link/RtuReplyLength.h"

#include <algorithm>
#include <cstring>

namespace
{

constexpr int MinimumPdu = 3;      // unit, function, one byte of data
constexpr int MinimumRtuReply = 5; // the same and the CRC
constexpr quint8 DeviceIdentification = 0x2B;

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
    expected_ = Expected{};
}

void ReplyAssembler::expectReplyTo(const quint8 *request, int length)
{
    expected_ = Expected{};
    // A broadcast gets no reply; a request without a function code none we could tell.
    if (request == nullptr || length < 2 || request[0] == 0)
        return;
    expected_.set = true;
    expected_.unit = request[0];
    expected_.function = static_cast<quint8>(request[1] & 0x7F);
    if (length <= static_cast<int>(expected_.request.size())) {
        std::memcpy(expected_.request.data(), request, static_cast<size_t>(length));
        expected_.requestLength = length;
    }
}

bool ReplyAssembler::awaitedAt(int start) const
{
    if (!expected_.set || staged_ - start < 2)
        return false;
    const quint8 function = staging_[static_cast<size_t>(start + 1)];
    return staging_[static_cast<size_t>(start)] == expected_.unit && (function & 0x7F) == expected_.function;
}

// An RS-485 adapter may hand back the request it sent: for the device
// identification, whose length only its CRC tells, that copy would pass.
bool ReplyAssembler::isEcho(int start, int length) const
{
    return expected_.function == DeviceIdentification && expected_.requestLength > 0 &&
           length == expected_.requestLength + 2 &&
           std::memcmp(staging_.data() + start, expected_.request.data(),
                       static_cast<size_t>(expected_.requestLength)) == 0;
}

int ReplyAssembler::laterFrameAt(int start, bool awaited) const
{
    const int available = staged_ - start;
    const quint8 *frame = staging_.data() + start;
    const RtuReplyLength length = RtuReplyLengthOf(frame, available);
    if (length.kind == RtuReplyLength::Known)
        return length.length <= available && crcMatches(frame, length.length) ? length.length : 0;
    if (length.kind == RtuReplyLength::Unknown && awaited && available >= MinimumRtuReply &&
        crcMatches(frame, available) && !isEcho(start, available))
        return available;
    return 0;
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

QString ReplyAssembler::feedTcp(const quint8 *data, int count, ModbusBuffer &rx, quint16 &rxCount)
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

QString ReplyAssembler::feedSerial(const quint8 *data, int count, ModbusBuffer &rx, quint16 &rxCount)
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
                         (staged_ - start >= length.length && !crcMatches(staging_.data() + start, length.length));
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

ReplyAssembler::AwaitedInside ReplyAssembler::awaitedInside(int from, int end) const
{
    for (int start = from; start < std::min(end, staged_ - 1); ++start) {
        if (!awaitedAt(start))
            continue;
        if (const int length = laterFrameAt(start, true); length > 0)
            return {start, length};
        const RtuReplyLength told = RtuReplyLengthOf(staging_.data() + start, staged_ - start);
        const bool impossible =
            told.kind == RtuReplyLength::Invalid ||
            (told.kind == RtuReplyLength::Known && (told.length > SerialCapacity || staged_ - start >= told.length));
        if (!impossible)
            return {start, 0};
    }
    return {};
}

void ReplyAssembler::completeSerial(ModbusBuffer &rx, quint16 &rxCount)
{
    dropImpossibleSerialStarts();
    if (staged_ < MinimumRtuReply)
        return;
    const RtuReplyLength first = RtuReplyLengthOf(staging_.data(), staged_);
    int frontLength = 0;
    // After the drop above a fully received known-length start has a right CRC.
    if (first.kind == RtuReplyLength::Known && staged_ >= first.length)
        frontLength = first.length;
    else if (first.kind == RtuReplyLength::Unknown && crcMatches(staging_.data(), staged_) && !isEcho(0, staged_))
        frontLength = staged_;
    if (frontLength > 0) {
        // Noise whose CRC checks by chance over the start of the awaited
        // reply would swallow it: the reply goes first, or is waited for.
        if (expected_.set && !awaitedAt(0)) {
            const AwaitedInside inside = awaitedInside(1, frontLength);
            if (inside.start > 0) {
                if (inside.length > 0)
                    deliverSerial(inside.start, inside.length, rx, rxCount);
                return;
            }
        }
        deliverSerial(0, frontLength, rx, rxCount);
        return;
    }
    // Behind the first start: when that one cannot tell its length, any frame
    // with a told length; in every case the awaited reply. While the awaited
    // reply itself is still arriving at the front, nothing inside it counts.
    const bool anyLater = first.kind == RtuReplyLength::Unknown && !awaitedAt(0);
    for (int start = 1; start + MinimumRtuReply <= staged_; ++start) {
        const bool awaited = awaitedAt(start);
        if (!awaited && !anyLater)
            continue;
        if (const int length = laterFrameAt(start, awaited); length > 0) {
            deliverSerial(start, length, rx, rxCount);
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
