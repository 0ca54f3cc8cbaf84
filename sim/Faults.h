#pragma once

#include "Station.h"

#include <cstdint>
#include <map>
#include <vector>

namespace sim
{

// Faults a reliability test can switch on, at start or on standard input.
struct Faults {
    int dropPercent = 0;                   // share of requests ignored
    int delayMs = 0;                       // before each reply
    std::map<uint8_t, uint8_t> exceptions; // function code -> exception code
    int splitMs = 0;                       // TCP: second half this much later
    bool badCrc = false;                   // RTU
    bool badLength = false;                // TCP: MBAP length one too high
    int noiseBytes = 0;                    // RTU: random bytes ahead of each reply
    bool resetMidReply = false;            // TCP: half the reply, then a reset
    // Random faults for long runs: each applies to this share of requests.
    int jitterMs = 0;         // extra delay, uniform in 0..jitterMs
    int exceptionPercent = 0; // answered with a random exception code 1..11
    int splitPercent = 100;   // of TCP replies split (while splitMs > 0)
    int badCrcPercent = 100;  // of RTU replies with a bad CRC (while badCrc)

    void clear() { *this = Faults{}; }
};

// Damages a framed reply as the faults ask: the CRC on the serial line, the
// MBAP length field on TCP.
void corruptReply(Link link, const Faults &faults, std::vector<uint8_t> &adu);

// True in `percent` of the calls (0 never, 100 always).
template <typename Random> bool chance(Random &random, int percent)
{
    return percent >= 100 || (percent > 0 && static_cast<int>(random() % 100) < percent);
}

} // namespace sim
