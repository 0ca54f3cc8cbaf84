#pragma once
// How long a Modbus RTU reply is, as far as its own first bytes tell.
#include <QtGlobal>

struct RtuReplyLength {
    enum Kind {
        NeedMore, // the header is not complete yet
        Known,    // `length` bytes including the CRC
        Unknown,  // the function code does not tell its reply length
        Invalid,  // function code 0: no reply starts like this
    };
    Kind kind = NeedMore;
    int length = 0;
};

// `frame` holds the `available` bytes received so far, unit identifier first.
RtuReplyLength RtuReplyLengthOf(const quint8 *frame, int available);
