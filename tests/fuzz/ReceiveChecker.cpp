#include "ReceiveChecker.h"

#include "link/ReplyAssembler.h"

#include <algorithm>
#include <cstdio>

namespace fuzz
{

namespace
{

constexpr int Capacity = static_cast<int>(std::tuple_size_v<ModbusBuffer>);
constexpr int Header = ModbusHeaderSize;

int be16(const quint8 *p)
{
    return (p[0] << 8) | p[1];
}

bool unchanged(const ModbusBuffer &a, const ModbusBuffer &b, int from, int to)
{
    return std::equal(a.begin() + from, a.begin() + to, b.begin() + from);
}

} // namespace

quint16 ReferenceCrc(const quint8 *data, size_t count)
{
    quint16 crc = 0xFFFF;
    for (size_t i = 0; i < count; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<quint16>((crc >> 1) ^ 0xA001) : static_cast<quint16>(crc >> 1);
    }
    return crc;
}

std::string Hex(const quint8 *data, size_t count)
{
    std::string text;
    char digits[4];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(digits, sizeof digits, "%02X ", data[i]);
        text += digits;
    }
    return text;
}

ReceiveChecker::ReceiveChecker() : assembler_(std::make_unique<ReplyAssembler>()), rx_(std::make_unique<ModbusBuffer>())
{
    // Stale bytes of an earlier reply: a store that should not happen shows.
    rx_->fill(0xEE);
}

ReceiveChecker::~ReceiveChecker() = default;

void ReceiveChecker::reset()
{
    assembler_->reset();
    rxCount_ = 0;
    tcpSinceReset_.clear();
    serialSinceReset_.clear();
}

bool ReceiveChecker::fail(const std::string &what)
{
    failure_ = what + " (rxCount " + std::to_string(rxCount_) +
               ", tcp since reset: " + Hex(tcpSinceReset_.data(), tcpSinceReset_.size()) +
               "; serial since reset: " + Hex(serialSinceReset_.data(), serialSinceReset_.size()) + ")";
    return false;
}

bool ReceiveChecker::feed(Link link, const quint8 *data, int count)
{
    const ModbusBuffer before = *rx_;
    const quint16 countBefore = rxCount_;
    const bool tcp = link == Link::Tcp;
    if (data != nullptr && count > 0)
        (tcp ? tcpSinceReset_ : serialSinceReset_)
            .insert(tcp ? tcpSinceReset_.end() : serialSinceReset_.end(), data, data + count);

    const QString text =
        tcp ? assembler_->feedTcp(data, count, *rx_, rxCount_) : assembler_->feedSerial(data, count, *rx_, rxCount_);

    const int shown = (data != nullptr && count > 0) ? count * (tcp ? 4 : 2) : 0;
    if (text.size() != shown)
        return fail("monitor text of " + std::to_string(text.size()) + " characters for " + std::to_string(count) +
                    " bytes");
    if (rxCount_ > Capacity)
        return fail("rxCount beyond the buffer");
    if (countBefore != 0) {
        if (rxCount_ != countBefore || *rx_ != before)
            return fail("a delivered frame changed before the next send");
        return tcp ? checkTcpModel() : true;
    }
    if (rxCount_ == 0) {
        if (*rx_ != before)
            return fail("RxFrame changed without a whole frame");
        return tcp ? checkTcpModel() : true;
    }
    if (!(tcp ? checkNewTcpFrame(before) : checkNewSerialFrame(before)))
        return false;
    return tcp ? checkTcpModel() : true;
}

bool ReceiveChecker::checkNewTcpFrame(const ModbusBuffer &before)
{
    const ModbusBuffer &rx = *rx_;
    if (rxCount_ < Header + 3)
        return fail("TCP frame shorter than header, unit, function and one byte");
    if (be16(&rx[2]) != 0)
        return fail("TCP frame with a protocol identifier other than 0");
    if (Header + be16(&rx[4]) != rxCount_)
        return fail("TCP frame whose length field disagrees with rxCount");
    if (!unchanged(rx, before, rxCount_, Capacity))
        return fail("TCP delivery wrote behind the frame");
    // Only the bytes received since the send, from their first on.
    if (serialSinceReset_.empty() &&
        (tcpSinceReset_.size() < rxCount_ || !std::equal(rx.begin(), rx.begin() + rxCount_, tcpSinceReset_.begin())))
        return fail("TCP frame is not the start of what was received");
    return true;
}

bool ReceiveChecker::checkNewSerialFrame(const ModbusBuffer &before)
{
    const ModbusBuffer &rx = *rx_;
    const int length = rxCount_ - Header;
    if (length < 5)
        return fail("serial frame shorter than unit, function, one byte and CRC");
    const quint16 crc = ReferenceCrc(&rx[Header], static_cast<size_t>(length - 2));
    if (rx[Header + length - 2] != (crc & 0xFF) || rx[Header + length - 1] != (crc >> 8))
        return fail("serial frame with a wrong CRC");
    if (!unchanged(rx, before, 0, Header))
        return fail("serial delivery touched RxFrame[0..5]");
    if (!unchanged(rx, before, rxCount_, Capacity))
        return fail("serial delivery wrote behind the frame");
    if (tcpSinceReset_.empty() && std::search(serialSinceReset_.begin(), serialSinceReset_.end(), rx.begin() + Header,
                                              rx.begin() + rxCount_) == serialSinceReset_.end())
        return fail("serial frame is not a run of the bytes received");
    return true;
}

// The whole rule for TCP: the frame is there once its header and the length its
// header announces have arrived, unless the header cannot be a reply's.
bool ReceiveChecker::checkTcpModel()
{
    if (!serialSinceReset_.empty())
        return true;
    const Bytes &s = tcpSinceReset_;
    int expected = 0;
    if (s.size() >= static_cast<size_t>(Header)) {
        const int pdu = be16(&s[4]);
        const int total = Header + pdu;
        if (be16(&s[2]) == 0 && pdu >= 3 && total <= Capacity && s.size() >= static_cast<size_t>(total))
            expected = total;
    }
    if (rxCount_ != expected)
        return fail("TCP rxCount " + std::to_string(rxCount_) + " where " + std::to_string(expected) + " was due");
    return true;
}

} // namespace fuzz
