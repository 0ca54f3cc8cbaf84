#include "RequestHandler.h"

#include "Identity.h"
#include "RegisterMap.h"

namespace sim
{

Outcome Outcome::standard(uint16_t readAddress, std::vector<uint16_t> values)
{
    Outcome o;
    o.kind = Kind::Standard;
    o.readAddress = readAddress;
    o.readValues = std::move(values);
    return o;
}

Outcome Outcome::own(std::vector<uint8_t> pdu)
{
    Outcome o;
    o.kind = Kind::Own;
    o.pdu = std::move(pdu);
    return o;
}

Outcome Outcome::exceptionReply(uint8_t code)
{
    Outcome o;
    o.kind = Kind::Exception;
    o.exception = code;
    return o;
}

Outcome Outcome::restart()
{
    Outcome o;
    o.kind = Kind::Restart;
    return o;
}

namespace
{

constexpr uint8_t ReadHolding = 3;
constexpr uint8_t ReadInput = 4;
constexpr uint8_t WriteSingle = 6;
constexpr uint8_t WriteMultiple = 16;
constexpr uint8_t ReadWriteMultiple = 23;
constexpr uint8_t RestartCommand = 42;
constexpr uint8_t DeviceIdentification = 43;

uint16_t word(std::span<const uint8_t> pdu, size_t at)
{
    return static_cast<uint16_t>((pdu[at] << 8) | pdu[at + 1]);
}

std::vector<uint16_t> words(std::span<const uint8_t> bytes)
{
    std::vector<uint16_t> out(bytes.size() / 2);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = word(bytes, 2 * i);
    return out;
}

Outcome readRegisters(RegisterMap &map, std::span<const uint8_t> pdu)
{
    if (pdu.size() < 5)
        return Outcome::exceptionReply(IllegalDataValue);
    const uint16_t address = word(pdu, 1);
    const uint16_t quantity = word(pdu, 3);
    if (quantity < 1 || quantity > 125)
        return Outcome::exceptionReply(IllegalDataValue);
    if (uint8_t e = map.checkRead(address, quantity))
        return Outcome::exceptionReply(e);
    return Outcome::standard(address, map.read(address, quantity));
}

Outcome writeRegisters(RegisterMap &map, uint16_t address, const std::vector<uint16_t> &values)
{
    if (uint8_t e = map.checkWrite(address, values))
        return Outcome::exceptionReply(e);
    map.write(address, values);
    return Outcome::standard();
}

Outcome writeMultiple(RegisterMap &map, std::span<const uint8_t> pdu)
{
    if (pdu.size() < 6)
        return Outcome::exceptionReply(IllegalDataValue);
    const uint16_t quantity = word(pdu, 3);
    const uint8_t byteCount = pdu[5];
    if (quantity < 1 || quantity > 123 || byteCount != 2 * quantity || pdu.size() < 6u + byteCount)
        return Outcome::exceptionReply(IllegalDataValue);
    return writeRegisters(map, word(pdu, 1), words(pdu.subspan(6, byteCount)));
}

// The tool sends a write quantity of 0 for a station without outputs and
// still expects its inputs, so both quantities may be 0 here.
Outcome readWriteMultiple(RegisterMap &map, std::span<const uint8_t> pdu)
{
    if (pdu.size() < 10)
        return Outcome::exceptionReply(IllegalDataValue);
    const uint16_t readAddress = word(pdu, 1);
    const uint16_t readQuantity = word(pdu, 3);
    const uint16_t writeAddress = word(pdu, 5);
    const uint16_t writeQuantity = word(pdu, 7);
    const uint8_t byteCount = pdu[9];
    if (readQuantity > 125 || writeQuantity > 121 || byteCount != 2 * writeQuantity || pdu.size() < 10u + byteCount)
        return Outcome::exceptionReply(IllegalDataValue);
    const std::vector<uint16_t> values = words(pdu.subspan(10, byteCount));
    if (uint8_t e = map.checkRead(readAddress, readQuantity))
        return Outcome::exceptionReply(e);
    if (uint8_t e = map.checkWrite(writeAddress, values))
        return Outcome::exceptionReply(e);
    // Outputs first, so that inputs fed back from them show in this reply.
    map.write(writeAddress, values);
    std::vector<uint16_t> read = map.read(readAddress, readQuantity);
    if (readQuantity > 0 && writeQuantity > 0)
        return Outcome::standard(readAddress, std::move(read));
    // libmodbus refuses zero quantities, so this reply is framed here.
    std::vector<uint8_t> reply = {ReadWriteMultiple, static_cast<uint8_t>(2 * read.size())};
    for (uint16_t v : read) {
        reply.push_back(static_cast<uint8_t>(v >> 8));
        reply.push_back(static_cast<uint8_t>(v & 0xFF));
    }
    return Outcome::own(std::move(reply));
}

Outcome deviceIdentification(const Station &station, std::span<const uint8_t> pdu)
{
    if (pdu.size() < 4)
        return Outcome::exceptionReply(IllegalDataValue);
    if (pdu[1] != 0x0E)
        return Outcome::exceptionReply(IllegalFunction);
    uint8_t refused = NoException;
    std::vector<uint8_t> reply = identityReply(station.identity(), pdu[2], pdu[3], refused);
    if (refused)
        return Outcome::exceptionReply(refused);
    return Outcome::own(std::move(reply));
}

} // namespace

Outcome handleRequest(Station &station, Link link, std::span<const uint8_t> pdu, double seconds, const Faults &faults)
{
    if (pdu.empty())
        return Outcome::exceptionReply(IllegalFunction);
    const uint8_t function = pdu[0];
    ++station.requestCounts[function];
    if (auto it = faults.exceptions.find(function); it != faults.exceptions.end())
        return Outcome::exceptionReply(it->second);

    RegisterMap map(station, link, seconds);
    switch (function) {
    case ReadHolding:
    case ReadInput:
        return readRegisters(map, pdu);
    case WriteSingle:
        if (pdu.size() < 5)
            return Outcome::exceptionReply(IllegalDataValue);
        return writeRegisters(map, word(pdu, 1), {word(pdu, 3)});
    case WriteMultiple:
        return writeMultiple(map, pdu);
    case ReadWriteMultiple:
        return readWriteMultiple(map, pdu);
    case RestartCommand:
        return Outcome::restart();
    case DeviceIdentification:
        return deviceIdentification(station, pdu);
    default:
        return Outcome::exceptionReply(IllegalFunction);
    }
}

} // namespace sim
