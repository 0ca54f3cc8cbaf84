#pragma once
// The two 74-byte messages of the pipe interface.
#include <QByteArray>
#include <array>
#include <cstdint>

constexpr int PipeMessageSize = 74;
using PipeMessage = std::array<quint8, PipeMessageSize>;

// Request byte layout
constexpr int PipeOutputBytesStart = 64; // byte 64 + m: slot m + 1
constexpr int PipeControlByte = 73;      // bit 0: automatic restart

// Response: 16 analog values low byte first, 9 digital input bytes, the flags.
PipeMessage BuildPipeResponse(const std::array<qint32, 16> &anaInValues, const std::array<quint8, 12> &digInBytes,
                              quint8 stationFlags);

// What a client reads back from a response.
struct PipeResponseFields {
    std::array<qint32, 16> AnaIn{};
    std::array<quint8, 9> DigIn{};
    quint8 Flags = 0;
};
PipeResponseFields ParsePipeResponse(const PipeMessage &response);

// Client side: a request with the output bytes of slots 1..9 and the control byte.
PipeMessage BuildPipeRequest(const std::array<quint8, 9> &outputBytes, quint8 control);

PipeMessage ToPipeMessage(const QByteArray &bytes); // first 74 bytes, rest zero
QByteArray ToByteArray(const PipeMessage &message);
