#pragma once

#include "Faults.h"
#include "Station.h"

#include <cstdint>
#include <span>
#include <vector>

namespace sim
{

// What the station does about one request PDU (function code and data).
struct Outcome {
    enum class Kind {
        Standard,  // libmodbus encodes it; readValues are what it reads back
        Own,       // a reply the simulator frames itself (pdu)
        Exception, // exception reply with `exception`
        Restart,   // no reply; the station restarts
    };
    Kind kind = Kind::Exception;
    uint8_t exception = 0;
    std::vector<uint8_t> pdu;
    uint16_t readAddress = 0;
    std::vector<uint16_t> readValues;

    static Outcome standard(uint16_t readAddress = 0, std::vector<uint16_t> values = {});
    static Outcome own(std::vector<uint8_t> pdu);
    static Outcome exceptionReply(uint8_t code);
    static Outcome restart();
};

// Carries out the request on the station (writes take effect here) and says
// how to answer. `seconds` since start dates the analog inputs.
Outcome handleRequest(Station &station, Link link, std::span<const uint8_t> pdu, double seconds, const Faults &faults);

} // namespace sim
