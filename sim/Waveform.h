#pragma once

#include <cstdint>

namespace sim
{

// A slow input signal for analog channel `channel` (0-based, channel order) at
// `seconds` since start. Shape, period and level differ from channel to
// channel so that a mixed-up channel shows at once; 32-bit channels swing
// well beyond the 16-bit range.
int32_t analogWaveform(int channel, bool is32Bit, double seconds);

} // namespace sim
