#include "link/RtuReplyLength.h"

namespace {

constexpr int CrcSize = 2;

RtuReplyLength known(int length)
{
    return {RtuReplyLength::Known, length};
}

constexpr RtuReplyLength NeedMore{RtuReplyLength::NeedMore, 0};
constexpr RtuReplyLength Unknown{RtuReplyLength::Unknown, 0};

// Read device identification (MEI type 14): unit, 43, 14, code, conformity,
// more follows, next object, object count, then per object id, length, value.
RtuReplyLength deviceIdentificationLength(const quint8 *frame, int available)
{
    constexpr int ObjectsStart = 8;
    if (available < 3)
        return NeedMore;
    if (frame[2] != 14)
        return Unknown;
    if (available < ObjectsStart)
        return NeedMore;
    int position = ObjectsStart;
    for (int object = 0; object < frame[7]; ++object) {
        if (position + 2 > available)
            return NeedMore;
        position += 2 + frame[position + 1];
    }
    return known(position + CrcSize);
}

} // namespace

RtuReplyLength RtuReplyLengthOf(const quint8 *frame, int available)
{
    if (available < 2)
        return NeedMore;
    const quint8 function = frame[1];
    if (function == 0)
        return {RtuReplyLength::Invalid, 0};
    if (function & 0x80)
        return known(5); // unit, function, exception code, CRC
    switch (function) {
    case 1:  // read coils
    case 2:  // read discrete inputs
    case 3:  // read holding registers
    case 4:  // read input registers
    case 12: // get comm event log
    case 17: // report server id
    case 20: // read file record
    case 21: // write file record
    case 23: // read/write multiple registers
        if (available < 3)
            return NeedMore;
        return known(3 + frame[2] + CrcSize);
    case 5:  // write single coil
    case 6:  // write single register
    case 11: // get comm event counter
    case 15: // write multiple coils
    case 16: // write multiple registers
        return known(6 + CrcSize);
    case 7: // read exception status
        return known(3 + CrcSize);
    case 22: // mask write register
        return known(8 + CrcSize);
    case 43:
        return deviceIdentificationLength(frame, available);
    default:
        return Unknown;
    }
}
