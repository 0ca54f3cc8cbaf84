#include "Identity.h"

#include "RegisterMap.h"

#include <string>

namespace sim
{

namespace
{

void appendObject(std::vector<uint8_t> &pdu, uint8_t id, const std::string &text)
{
    pdu.push_back(id);
    const bool isVersion = id == 2;
    pdu.push_back(static_cast<uint8_t>(isVersion && !text.empty() ? text.size() - 1 : text.size()));
    pdu.insert(pdu.end(), text.begin(), text.end());
}

} // namespace

std::vector<uint8_t> identityReply(const Identity &identity, uint8_t code, uint8_t objectId, uint8_t &exception)
{
    exception = NoException;
    if (code < 1 || code > 4) {
        exception = IllegalDataValue;
        return {};
    }
    const std::string *texts[3] = {&identity.manufacturer, &identity.product, &identity.version};
    // Only the basic objects exist; a stream that starts elsewhere starts over.
    const bool single = code == 4;
    if (single && objectId > 2) {
        exception = IllegalDataAddress;
        return {};
    }
    const uint8_t first = single ? objectId : 0;
    const uint8_t count = single ? 1 : 3;

    std::vector<uint8_t> pdu = {0x2B, 0x0E, code, 0x01, 0x00, 0x00, count, 0x00};
    for (uint8_t id = first; id < first + count; ++id)
        appendObject(pdu, id, *texts[id]);
    return pdu;
}

} // namespace sim
