#include "Faults.h"

namespace sim
{

void corruptReply(Link link, const Faults &faults, std::vector<uint8_t> &adu)
{
    if (link == Link::Rtu && faults.badCrc && adu.size() >= 2) {
        adu[adu.size() - 1] ^= 0xFF;
        adu[adu.size() - 2] ^= 0x5A;
    }
    if (link == Link::Tcp && faults.badLength && adu.size() >= 6) {
        const uint16_t length = static_cast<uint16_t>(((adu[4] << 8) | adu[5]) + 1);
        adu[4] = static_cast<uint8_t>(length >> 8);
        adu[5] = static_cast<uint8_t>(length & 0xFF);
    }
}

} // namespace sim
