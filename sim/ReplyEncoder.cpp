#include "ReplyEncoder.h"

#include "Crc.h"

#include <modbus/modbus.h>

#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace sim
{

std::vector<uint8_t> frameReply(Link link, std::span<const uint8_t> request, std::span<const uint8_t> pdu)
{
    std::vector<uint8_t> adu;
    if (link == Link::Tcp) {
        const size_t length = pdu.size() + 1;
        adu = {request[0], request[1], 0, 0, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length & 0xFF),
               request[6]};
        adu.insert(adu.end(), pdu.begin(), pdu.end());
    } else {
        adu.push_back(request[0]);
        adu.insert(adu.end(), pdu.begin(), pdu.end());
        adu = withCrc(std::move(adu));
    }
    return adu;
}

ReplyEncoder::ReplyEncoder(Link link) : link_(link), scratch_(0x10000, 0)
{
    ctx_ = link == Link::Tcp ? modbus_new_tcp("127.0.0.1", 502) : modbus_new_rtu("/dev/null", 38400, 'N', 8, 1);
    if (!ctx_ || socketpair(AF_UNIX, SOCK_STREAM, 0, pair_) != 0)
        throw std::runtime_error("cannot set up the reply encoder");
    modbus_set_socket(ctx_, pair_[0]);
}

ReplyEncoder::~ReplyEncoder()
{
    // The context never opened a connection of its own; its socket is ours.
    modbus_set_socket(ctx_, -1);
    modbus_free(ctx_);
    close(pair_[0]);
    close(pair_[1]);
}

std::vector<uint8_t> ReplyEncoder::readBack(int length)
{
    std::vector<uint8_t> bytes(length > 0 ? length : 0);
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = read(pair_[1], bytes.data() + got, bytes.size() - got);
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

std::vector<uint8_t> ReplyEncoder::encode(std::span<const uint8_t> request, const Outcome &outcome)
{
    switch (outcome.kind) {
    case Outcome::Kind::Restart:
        return {};
    case Outcome::Kind::Own:
        return frameReply(link_, request, outcome.pdu);
    case Outcome::Kind::Exception: {
        const size_t functionAt = link_ == Link::Tcp ? 7 : 1;
        // libmodbus knows the codes of the standard only.
        if (outcome.exception < 1 || outcome.exception >= MODBUS_EXCEPTION_MAX) {
            const uint8_t pdu[2] = {static_cast<uint8_t>(request[functionAt] | 0x80), outcome.exception};
            return frameReply(link_, request, pdu);
        }
        return readBack(modbus_reply_exception(ctx_, request.data(), outcome.exception));
    }
    case Outcome::Kind::Standard: {
        std::copy(outcome.readValues.begin(), outcome.readValues.end(), scratch_.begin() + outcome.readAddress);
        modbus_mapping_t mapping{};
        mapping.nb_registers = mapping.nb_input_registers = static_cast<int>(scratch_.size());
        mapping.tab_registers = mapping.tab_input_registers = scratch_.data();
        return readBack(modbus_reply(ctx_, request.data(), static_cast<int>(request.size()), &mapping));
    }
    }
    return {};
}

} // namespace sim
