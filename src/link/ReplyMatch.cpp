#include "link/ReplyMatch.h"

namespace
{

constexpr int Pdu = ModbusHeaderSize; // index of the unit identifier

int wordAt(const ModbusBuffer &frame, int index)
{
    return (frame[static_cast<size_t>(index)] << 8) | frame[static_cast<size_t>(index + 1)];
}

} // namespace

RequestShape ShapeOfRequest(const ModbusBuffer &tx, int length)
{
    RequestShape shape;
    if (length < Pdu + 2)
        return shape;
    shape.functionCode = tx[Pdu + 1];
    // Quantity of a read: bytes 4..5 of the request; of function 23 the read half.
    const bool quantityThere = length >= Pdu + 6;
    switch (shape.functionCode) {
    case 0x01:
    case 0x02:
        if (quantityThere)
            shape.byteCount = (wordAt(tx, Pdu + 4) + 7) / 8;
        break;
    case 0x03:
    case 0x04:
    case 0x17:
        if (quantityThere)
            shape.byteCount = 2 * wordAt(tx, Pdu + 4);
        break;
    default:
        break;
    }
    return shape;
}

ReplyKind ClassifyReply(const RequestShape &request, const ModbusBuffer &rx, int rxCount)
{
    if (rxCount <= 0)
        return ReplyKind::Pending;
    // Unit, function code and at least one byte behind the header room.
    if (rxCount < Pdu + 3 || rxCount > static_cast<int>(rx.size()))
        return ReplyKind::NotMine;
    if (request.unit >= 0 && rx[Pdu] != request.unit)
        return ReplyKind::NotMine;
    const quint8 function = rx[Pdu + 1];
    if (function == (request.functionCode | 0x80))
        return ReplyKind::Exception;
    if (function != request.functionCode)
        return ReplyKind::NotMine;
    if (request.byteCount >= 0) {
        const int told = rx[Pdu + 2];
        if (told != (request.byteCount & 0xFF) || request.byteCount > 0xFF || rxCount < Pdu + 3 + told)
            return ReplyKind::NotMine;
    }
    return ReplyKind::Data;
}
