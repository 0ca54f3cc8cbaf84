#include "StationLayout.h"

namespace sim
{

ModuleChannels channelsOf(uint16_t moduleId)
{
    ModuleChannels c;
    switch (moduleId) {
    case 1:
        c.digOut = 8;
        break;
    case 7:
        c.digOut = 4;
        break;
    case 6:
        c.digIn = 8;
        break;
    case 2:
    case 9:
        c.digIn = 4;
        break;
    case 3:
    case 4:
    case 8:
    case 11:
    case 68:
    case 75:
    case 132:
    case 139:
        c.anaIn16 = 4;
        break;
    case 14:
    case 15:
        c.anaIn16 = 2;
        break;
    case 10:
        c.anaIn32 = 2;
        break;
    case 5:
    case 69:
    case 133:
        c.anaOut = 4;
        break;
    default:
        break;
    }
    return c;
}

StationLayout deriveLayout(const SlotIds &slots)
{
    StationLayout l;
    l.slots = slots;
    for (uint16_t id : slots) {
        const ModuleChannels c = channelsOf(id);
        l.anaInCount += c.anaIn16;
        l.anaIn32Count += c.anaIn32;
        l.anaOutCount += c.anaOut;
        l.digInCount += c.digIn;
        l.digOutCount += c.digOut;
        l.anaInIs32.insert(l.anaInIs32.end(), c.anaIn16, false);
        l.anaInIs32.insert(l.anaInIs32.end(), c.anaIn32, true);
        if (c.digIn > 0)
            ++l.digInModuleCount;
        if (c.digOut > 0)
            ++l.digOutModuleCount;
        if (id == 8)
            l.tempChannelCount += 4;
        if (id == 14)
            l.tempChannelCount += 2;
        if (id == 15)
            l.tempChannelCount += 1;
    }
    return l;
}

SlotIds demoSlots()
{
    return {2, 6, 7, 1, 4, 10, 14, 5, 0};
}

} // namespace sim
