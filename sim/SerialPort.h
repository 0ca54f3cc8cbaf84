#pragma once

#include "Options.h"

#include <string>

namespace sim
{

// Opens and configures the serial device: raw, 8 data bits, parity and stop
// bits from the tool's frame number. Returns the descriptor, or -1 with the
// reason in `error`.
int openSerialPort(const SerialSettings &settings, std::string &error);

// "8N1" and the like, for the frame numbers 1..4.
std::string frameName(int frame);

// Silence that ends an RTU frame, in whole milliseconds (at least 2).
int rtuSilenceMs(int baud);

} // namespace sim
