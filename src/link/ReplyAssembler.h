#pragma once
// Receive side of the transport. Every read event is rendered for the bus
// monitor, but RxFrame and RxCount only change once the bytes received since
// the last send form one complete frame: half a reply, a reply split into
// several segments or events, or one with a wrong CRC never reaches a window as
// data. A frame that never completes leaves RxCount at 0, so the waiting window
// runs into its timeout. After a complete frame, further bytes are shown but
// not stored, until the next send.
//
// Modbus/TCP: the frame is complete when its six header bytes and the number
// of bytes its length field announces have arrived. A protocol identifier other
// than 0, or a length field below 3 (unit, function and at least one byte) or
// beyond the 264-byte buffer, never completes. The frame is stored from
// RxFrame[0] on; RxCount = its length.
//
// Modbus RTU: the frame is stored from RxFrame[6] on; RxFrame[0..5] are left
// as they were; RxCount = 6 + its length. Where the function code tells the
// reply length (exceptions, reads, writes, device identification) the frame is
// complete when that many bytes arrived and their CRC is right, so a CRC that
// matches by chance in the middle of a reply does not cut it short. For other
// function codes: at least 5 bytes whose last two are the CRC of the others.
// Bytes in front of a reply (line noise, an echo of the request) are passed
// over: a start that cannot be a reply (function code 0, a length that does
// not fit, a wrong CRC at the told length) is dropped byte by byte, and while
// the first start's length is unknown, a later start with a told length and a
// right CRC is accepted. A later start that is the awaited reply (the unit and
// function code of the request sent, or its exception) is taken whatever the
// bytes in front of it look like: at its told length, or, for a function code
// that does not tell it (device identification), where its CRC checks. An
// exact copy of a device identification request (an echo) is no reply to it.
// A frame in front whose CRC checks only by chance over the start of the
// awaited reply does not swallow it: the awaited reply is taken instead, or
// waited for while it may still complete.
// Bytes that do not fit in RxFrame are not stored.
#include "link/ModbusFrame.h"

#include <QString>
#include <array>

class ReplyAssembler
{
public:
    // At every send: forget what was received for the earlier request.
    void reset();
    // After reset, for a request going out on the serial line: `request` holds
    // its `length` bytes from the unit identifier on (CRC not needed).
    void expectReplyTo(const quint8 *request, int length);

    // One read event each; returns the receive line for the bus monitor.
    QString feedTcp(const quint8 *data, int count, ModbusBuffer &rx, quint16 &rxCount);
    QString feedSerial(const quint8 *data, int count, ModbusBuffer &rx, quint16 &rxCount);

    // True once a complete frame has been handed over since the last reset.
    bool complete() const { return complete_; }

    // The frame handed over was not the awaited reply (a late answer to an
    // earlier request): forget it and look for the next frame in the bytes
    // received behind it. True when that completes another frame at once.
    bool skipFrame(ModbusBuffer &rx, quint16 &rxCount);

private:
    static constexpr int Capacity = static_cast<int>(std::tuple_size_v<ModbusBuffer>);
    static constexpr int SerialCapacity = Capacity - ModbusHeaderSize;

    enum class Source { None, Tcp, Serial };
    void takeFrom(Source source);
    void completeTcp(ModbusBuffer &rx, quint16 &rxCount);
    void completeSerial(ModbusBuffer &rx, quint16 &rxCount);
    void dropImpossibleSerialStarts();
    void deliverSerial(int start, int length, ModbusBuffer &rx, quint16 &rxCount);
    bool awaitedAt(int start) const;
    bool isEcho(int start, int length) const;
    // Length of a complete frame with a right CRC at `start`; 0 if there is none.
    int laterFrameAt(int start, bool awaited) const;
    // The first awaited start in [from, end) that is complete (length > 0)
    // or may still become so (length 0); start -1: none.
    struct AwaitedInside {
        int start = -1;
        int length = 0;
    };
    AwaitedInside awaitedInside(int from, int end) const;

    ModbusBuffer staging_{};
    int staged_ = 0;
    int deliveredEnd_ = 0; // staging index behind the frame handed over
    bool complete_ = false;
    bool overflowed_ = false;
    Source source_ = Source::None;

    struct Expected {
        bool set = false;
        quint8 unit = 0;
        quint8 function = 0;
        std::array<quint8, 8> request{}; // a device identification request is 5 bytes
        int requestLength = 0;
    };
    Expected expected_;
};
