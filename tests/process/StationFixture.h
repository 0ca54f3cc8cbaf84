#pragma once
// A station as a configuration read leaves it: the counts the coupler reports
// for its slots, the slot list, the tables the read derives and ConfigValid 1.
#include "app/Deklarat.h"
#include "station/StationConfigDecode.h"

#include <array>

namespace stationfixture
{

struct ModuleChannels {
    int anaIn16 = 0;
    int anaIn32 = 0;
    int anaOut = 0;
    int digIn = 0;
    int digOut = 0;
};

inline ModuleChannels channelsOf(quint16 id)
{
    switch (id) {
    case 1:
        return {0, 0, 0, 0, 8};
    case 7:
        return {0, 0, 0, 0, 4};
    case 6:
        return {0, 0, 0, 8, 0};
    case 2:
    case 9:
        return {0, 0, 0, 4, 0};
    case 3:
    case 4:
    case 8:
    case 11:
    case 68:
    case 75:
    case 132:
    case 139:
        return {4, 0, 0, 0, 0};
    case 14:
    case 15:
        return {2, 0, 0, 0, 0};
    case 10:
        return {0, 2, 0, 0, 0};
    case 5:
    case 69:
    case 133:
        return {0, 0, 4, 0, 0};
    default:
        return {};
    }
}

// The simulator's default station.
constexpr std::array<quint16, SlotCount> DemoSlots{2, 6, 7, 1, 4, 10, 14, 5, 0};

inline void LoadStation(StationConfiguration &c, const std::array<quint16, SlotCount> &ids)
{
    c = StationConfiguration{};
    for (int s = 1; s <= SlotCount; ++s) {
        const quint16 id = ids[static_cast<size_t>(s - 1)];
        c.SlotModuleIds[static_cast<size_t>(s)] = id;
        const ModuleChannels m = channelsOf(id);
        c.AnaInCount = static_cast<quint16>(c.AnaInCount + m.anaIn16);
        c.AnaIn32Count = static_cast<quint16>(c.AnaIn32Count + m.anaIn32);
        c.AnaOutCount = static_cast<quint16>(c.AnaOutCount + m.anaOut);
        c.DigInCount = static_cast<quint16>(c.DigInCount + m.digIn);
        c.DigOutCount = static_cast<quint16>(c.DigOutCount + m.digOut);
    }
    c.ConfigValid = 1;
    DeriveAnalogTables(c);
    c.DigOutModuleCount = CountDigitalOutputModules(c);
}

} // namespace stationfixture
