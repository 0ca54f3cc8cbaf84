#include "Waveform.h"

#include <cmath>
#include <numbers>

namespace sim
{

namespace
{

// One period of a shape, phase in [0, 1), result in [-1, 1].
double shape(int kind, double phase)
{
    switch (kind) {
    case 0:
        return std::sin(2.0 * std::numbers::pi * phase);
    case 1:
        return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase; // triangle
    case 2:
        return 2.0 * phase - 1.0; // sawtooth
    default:
        return std::cos(2.0 * std::numbers::pi * phase);
    }
}

} // namespace

int32_t analogWaveform(int channel, bool is32Bit, double seconds)
{
    const double period = 8.0 + 3.0 * channel;
    double phase = std::fmod(seconds / period, 1.0);
    if (phase < 0)
        phase += 1.0;
    const double s = shape(channel % 4, phase);
    if (is32Bit) {
        const double amplitude = 150000.0 + 25000.0 * channel;
        return static_cast<int32_t>(std::lround(50000.0 * (channel % 3) + amplitude * s));
    }
    const double amplitude = 9000.0 + 500.0 * (channel % 8);
    const double offset = (channel % 2 == 0) ? 12000.0 : -4000.0;
    return static_cast<int32_t>(std::lround(offset + amplitude * s));
}

} // namespace sim
