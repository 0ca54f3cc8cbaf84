#include "parameters/DigOutParams.h"

#include <algorithm>

namespace
{

bool inRange(int channel)
{
    return channel >= 1 && channel <= DigOutChannels;
}

size_t byteOf(int channel)
{
    return static_cast<size_t>((channel - 1) / DigOutChannelsPerModule);
}

quint8 maskOf(int channel)
{
    return static_cast<quint8>(1u << ((channel - 1) % DigOutChannelsPerModule));
}

} // namespace

DigOutChoice DigOutFailStates::choiceOf(int channel) const
{
    if (!inRange(channel))
        return FailState0;
    const size_t k = byteOf(channel);
    const quint8 m = maskOf(channel);
    if (BehaviourBits[k] & m)
        return LastValue;
    return (StateBits[k] & m) ? FailState1 : FailState0;
}

void DigOutFailStates::choose(int channel, DigOutChoice choice)
{
    if (!inRange(channel))
        return;
    const size_t k = byteOf(channel);
    const quint8 m = maskOf(channel);
    switch (choice) {
    case LastValue:
        BehaviourBits[k] |= m;
        break;
    case FailState0:
        BehaviourBits[k] &= static_cast<quint8>(~m);
        StateBits[k] &= static_cast<quint8>(~m);
        break;
    case FailState1:
        BehaviourBits[k] &= static_cast<quint8>(~m);
        StateBits[k] |= m;
        break;
    }
}

int DigOutModulesHandled(int moduleCount)
{
    return std::clamp(moduleCount, 0, DigOutModules);
}

DigOutVisibility DigOutVisibilityFor(int digOutCount)
{
    DigOutVisibility v;
    if (digOutCount < 4 || digOutCount > DigOutChannels || digOutCount % 4 != 0)
        return v;
    v.changes = true;
    v.channels = digOutCount;
    v.columns = (digOutCount + DigOutChannelsPerModule - 1) / DigOutChannelsPerModule;
    return v;
}
