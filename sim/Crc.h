#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace sim
{

// CRC-16 of the Modbus serial line, computed bit by bit so that it does not
// share the table method of the tool it checks.
uint16_t modbusCrc(std::span<const uint8_t> bytes);

// The frame with its CRC appended, low byte first as on the line.
std::vector<uint8_t> withCrc(std::vector<uint8_t> frame);

} // namespace sim
