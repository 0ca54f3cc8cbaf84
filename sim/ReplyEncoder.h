#pragma once

#include "RequestHandler.h"
#include "Station.h"

#include <cstdint>
#include <span>
#include <vector>

struct _modbus;

namespace sim
{

// Wraps a PDU for its link: MBAP header echoing the request's transaction
// identifier, or unit identifier and CRC.
std::vector<uint8_t> frameReply(Link link, std::span<const uint8_t> request, std::span<const uint8_t> pdu);

// Turns an outcome into the bytes that go on the line. Standard replies and
// exceptions are encoded by libmodbus, written into a socket pair and read
// back, so that faults can still be applied before they are sent.
class ReplyEncoder
{
public:
    explicit ReplyEncoder(Link link);
    ~ReplyEncoder();
    ReplyEncoder(const ReplyEncoder &) = delete;
    ReplyEncoder &operator=(const ReplyEncoder &) = delete;

    // `request` as framed on the link: with its MBAP header, or with its CRC.
    // Empty when there is no reply.
    std::vector<uint8_t> encode(std::span<const uint8_t> request, const Outcome &outcome);

private:
    std::vector<uint8_t> readBack(int length);

    Link link_;
    _modbus *ctx_ = nullptr;
    int pair_[2] = {-1, -1};
    std::vector<uint16_t> scratch_;
};

} // namespace sim
