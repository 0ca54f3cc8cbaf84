#pragma once
// Replies as the coupler (or a faulty one) would put them on the line.
#include "ReceiveChecker.h"

#include <initializer_list>
#include <random>

namespace fuzz
{

Bytes Concat(std::initializer_list<Bytes> parts);
Bytes WithCrc(Bytes frame);
// Modbus/TCP: header with `transaction`, protocol 0 and the true length.
Bytes TcpFrame(quint16 transaction, const Bytes &pdu);
// Overwrites the length field (bytes 4..5).
Bytes WithTcpLength(Bytes frame, int length);
Bytes Counting(size_t count, quint8 first = 0);
Bytes RandomBytes(std::mt19937 &rng, size_t count);
// Read device identification (43/14) with the given objects, no CRC.
Bytes DeviceIdentification(const std::vector<Bytes> &objects);

// A PDU (unit first, no CRC) of one of the reply kinds the receive side tells
// apart: exceptions, reads, fixed-length writes, device identification,
// function codes that do not tell their length, and function code 0.
Bytes RandomReplyPdu(std::mt19937 &rng);

} // namespace fuzz
