#pragma once
// The station's shared types and sizes, with Qt Core only: plain code that
// works on the configuration or the frame buffers includes this, not the whole
// shared state with its windows.
#include <QtGlobal>
#include <array>

constexpr int FrameBufferSize = 264;
constexpr int SlotCount = 9;
// Nine slots of at most four analog channels each.
constexpr int MaxAnalogChannels = 36;

// StationFlags bits
namespace StationFlag
{
constexpr quint8 SerialOpen = 0x01;
constexpr quint8 TcpUp = 0x02;
constexpr quint8 ConfigAnswered = 0x04;
constexpr quint8 ProcessDataAnswered = 0x08;
constexpr quint8 SocketError = 0x10;
constexpr quint8 RestartUnderWay = 0x80;
} // namespace StationFlag

struct StationConfiguration {
    quint16 AnaInCount = 0;
    quint16 AnaIn32Count = 0;
    quint16 AnaOutCount = 0;
    quint16 DigInCount = 0;
    quint16 DigOutCount = 0;
    std::array<quint16, SlotCount + 1> SlotModuleIds{}; // index 1..9, 0 unused
    quint8 ConfigValid = 0;
    quint16 TempChannelCount = 0;
    quint16 DigOutModuleCount = 0;
    std::array<quint8, MaxAnalogChannels> AnaInFormat{};
};
