#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace sim
{

constexpr int SlotCount = 9;
using SlotIds = std::array<uint16_t, SlotCount>;

// Channels one module brings into the station, as the tool counts them.
struct ModuleChannels {
    int anaIn16 = 0;
    int anaIn32 = 0;
    int anaOut = 0;
    int digIn = 0;
    int digOut = 0;
};

ModuleChannels channelsOf(uint16_t moduleId);

// Everything the slot list implies: the counts the coupler reports and the
// sizes of the register blocks that depend on them.
struct StationLayout {
    SlotIds slots{};
    uint16_t anaInCount = 0;
    uint16_t anaIn32Count = 0;
    uint16_t anaOutCount = 0;
    uint16_t digInCount = 0;
    uint16_t digOutCount = 0;
    uint16_t tempChannelCount = 0;
    uint16_t digInModuleCount = 0;
    uint16_t digOutModuleCount = 0;
    // One entry per analog input channel in slot order: true for a 32-bit channel.
    std::vector<bool> anaInIs32;

    int analogInputChannels() const { return anaInCount + anaIn32Count; }
    int digitalInputRegisters() const { return (digInCount + 15) >> 4; }
    int digitalOutputRegisters() const { return (digOutCount + 15) >> 4; }
    int inputRegisters() const { return anaInCount + 2 * anaIn32Count + digitalInputRegisters(); }
    int outputRegisters() const { return anaOutCount + digitalOutputRegisters(); }
};

StationLayout deriveLayout(const SlotIds &slots);

// Digital in and out of 4 and 8 channels, a 16-bit analog input module, a
// strain gauge, a thermocouple and an analog output module.
SlotIds demoSlots();

} // namespace sim
