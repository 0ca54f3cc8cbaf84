#pragma once
// What the transport tells about each exchange on the line, for the traffic
// statistics. The transport calls these in line order; nothing here sends.
#include "link/ModbusFrame.h"

class TrafficObserver
{
public:
    virtual ~TrafficObserver() = default;
    // A request went out (TxFrame from byte 6 on, `length` counting the header).
    virtual void sent(const ModbusBuffer &tx, int length) = 0;
    // The outstanding request's reply (or exception) arrived whole.
    virtual void answered(const ModbusBuffer &rx, int rxCount) = 0;
    // Received bytes that are no reply to it: a whole frame not awaited, or
    // bytes that never formed a frame (CRC, length).
    virtual void rejected() = 0;
    // The window waiting for the reply gave up after its last check.
    virtual void gaveUp() = 0;
};
