#include "link/RtuReplyLength.h"

namespace
{

constexpr int CrcSize = 2;

RtuReplyLength known(int length)
{
    return {RtuReplyLength::Known, length};
}

constexpr RtuReplyLength NeedMore{RtuReplyLength::NeedMore, 0};
constexpr RtuReplyLength Unknown{RtuReplyLength::Unknown, 0};

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
        // The coupler's identification reply carries a byte of its own before
        // the objects and a version length one short of its text, so its
        // length cannot be told from its objects: it ends where its CRC checks.
        return Unknown;
    default:
        return Unknown;
    }
}
