#pragma once
// Feeds read events to a ReplyAssembler the way the transport does and checks,
// after every event, that RxFrame and RxCount only ever hold a whole frame.
// RxFrame and the assembler each get their own heap block, so AddressSanitizer's
// redzone sits right behind byte 263 of RxFrame.
#include "link/ModbusFrame.h"

#include <memory>
#include <string>
#include <vector>

class ReplyAssembler;

namespace fuzz
{

using Bytes = std::vector<quint8>;

enum class Link { Tcp, Serial };

// CRC-16 of the Modbus serial line, bit by bit: independent of the table
// version under test.
quint16 ReferenceCrc(const quint8 *data, size_t count);

class ReceiveChecker
{
public:
    ReceiveChecker();
    ~ReceiveChecker();

    // What the transport does at every send.
    void reset();
    // One read event. `data` may be null; on false, failure() says what broke.
    bool feed(Link link, const quint8 *data, int count);

    quint16 rxCount() const { return rxCount_; }
    const ModbusBuffer &rx() const { return *rx_; }
    const std::string &failure() const { return failure_; }

private:
    bool fail(const std::string &what);
    bool checkNewTcpFrame(const ModbusBuffer &before);
    bool checkNewSerialFrame(const ModbusBuffer &before);
    bool checkTcpModel();

    std::unique_ptr<ReplyAssembler> assembler_;
    std::unique_ptr<ModbusBuffer> rx_;
    quint16 rxCount_ = 0;
    Bytes tcpSinceReset_;
    Bytes serialSinceReset_;
    std::string failure_;
};

std::string Hex(const quint8 *data, size_t count);

} // namespace fuzz
