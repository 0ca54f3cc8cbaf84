#pragma once

#include "Station.h"

#include <cstdint>
#include <vector>

namespace sim
{

// Reply PDU (function code on) to read device identification, code `code`,
// starting at `objectId`. The coupler puts one reserved byte ahead of the
// objects, and the version object's length byte counts one character less
// than it carries: the configuration window reads the texts exactly so.
// Returns an empty vector with `exception` set when the request is refused.
std::vector<uint8_t> identityReply(const Identity &identity, uint8_t code, uint8_t objectId, uint8_t &exception);

} // namespace sim
