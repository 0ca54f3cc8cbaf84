#pragma once
// Telling a window's own reply from any other frame on the line. Plain
// functions over the frame buffers: the transport uses them when a whole frame
// arrives, the request/reply helper when the window's timer fires.
#include "link/ModbusFrame.h"

// What a request asks for, as far as recognising its reply needs.
struct RequestShape {
    quint8 functionCode = 0;
    // Byte count a read's reply must carry; -1 for requests whose reply has none.
    int byteCount = -1;
    // The reply must come from this unit (the configuration read); -1: any unit.
    int unit = -1;
};

// The shape of the request in tx[6..length-1] (unit identifier first).
// Reads (1, 2, 3, 4, 23) expect the byte count their quantity asks for.
RequestShape ShapeOfRequest(const ModbusBuffer &tx, int length);

enum class ReplyKind {
    Pending,   // nothing received
    NotMine,   // a frame, but not the reply to this request
    Exception, // the request's function code with bit 7 set
    Data,      // the request's function code, and for a read the right byte count
};

// Classifies the frame in rx (unit identifier at rx[6]) of rxCount bytes, as
// the transport leaves it (TCP: rxCount counts the Modbus/TCP header; serial:
// six plus the bytes received, CRC included).
ReplyKind ClassifyReply(const RequestShape &request, const ModbusBuffer &rx, int rxCount);
