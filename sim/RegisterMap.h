#pragma once

#include "Station.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace sim
{

// Modbus exception codes the map answers with.
enum ExceptionCode : uint8_t {
    NoException = 0,
    IllegalFunction = 1,
    IllegalDataAddress = 2,
    IllegalDataValue = 3,
};

// One block of consecutive registers. A request must lie within one area.
struct Area {
    std::string name;
    uint16_t start = 0;
    uint16_t size = 0;
    std::function<void(uint16_t offset, std::span<uint16_t> out)> read;
    // Empty: every value is taken.
    std::function<bool(uint16_t offset, uint16_t value)> accepts;
    // Empty: the area is read-only.
    std::function<void(uint16_t offset, std::span<const uint16_t> values)> write;
};

// The coupler's registers as the tool addresses them. Over the serial line
// the communication block is the one time register; over TCP it is the
// 39-register network block.
class RegisterMap
{
public:
    RegisterMap(Station &station, Link link, double seconds);

    uint8_t checkRead(uint16_t address, uint16_t quantity) const;
    uint8_t checkWrite(uint16_t address, std::span<const uint16_t> values) const;
    // Both assume the matching check passed.
    std::vector<uint16_t> read(uint16_t address, uint16_t quantity) const;
    void write(uint16_t address, std::span<const uint16_t> values);

    const std::vector<Area> &areas() const { return areas_; }

private:
    const Area *find(uint16_t address, uint16_t quantity) const;
    std::vector<Area> areas_;
};

} // namespace sim
