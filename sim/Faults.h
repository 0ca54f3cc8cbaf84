#pragma once

#include "Station.h"

#include <cstdint>
#include <map>
#include <vector>

namespace sim {

// Faults a reliability test can switch on, at start or on standard input.
struct Faults {
    int dropPercent = 0;                   // share of requests ignored
    int delayMs = 0;                       // before each reply
    std::map<uint8_t, uint8_t> exceptions; // function code -> exception code
    int splitMs = 0;                       // TCP: second half this much later
    bool badCrc = false;                   // RTU
    bool badLength = false;                // TCP: MBAP length one too high
    int noiseBytes = 0;                    // RTU: random bytes ahead of each reply

    void clear() { *this = Faults{}; }
};

// Damages a framed reply as the faults ask: the CRC on the serial line, the
// MBAP length field on TCP.
void corruptReply(Link link, const Faults &faults, std::vector<uint8_t> &adu);

} // namespace sim
