#pragma once
// The process data exchange as bytes: the function code 23 request that writes
// every output and reads every input, the packing of the digital outputs, the
// check and the decoding of the reply, and which image bit each digital input
// check box shows. Plain functions over the shared buffers; nothing allocates.
#include "app/StationTypes.h"
#include "link/ModbusFrame.h"

#include <QString>

#include <array>
#include <optional>

constexpr quint8 ProcessDataFunction = 0x17;
constexpr quint16 ProcessReadStart = 0x0100;
constexpr quint16 ProcessWriteStart = 0x0900;

using DigitalImage = std::array<quint8, 12>;
using SlotIdTable = std::array<quint16, SlotCount + 1>;  // index 1..9
using SlotByteTable = std::array<quint8, SlotCount + 1>; // index 1..9
using AnalogInTable = std::array<qint32, MaxAnalogChannels>;
using AnalogOutTable = std::array<quint16, MaxAnalogChannels>;

// Channels of the digital part of a module: 8 or 4, 0 for modules without one.
int DigitalInputChannels(quint16 moduleId);
int DigitalOutputChannels(quint16 moduleId);

// Registers read from 0x0100: the analog inputs, then the digital inputs two
// bytes to a register.
quint16 ProcessReadQuantity(const StationConfiguration &config);
// Registers written to 0x0900: the analog outputs, then the digital outputs.
quint16 ProcessWriteQuantity(const StationConfiguration &config);
// Reply position of the first digital input byte.
int DigitalInputReplyStart(const StationConfiguration &config);
// Analog input channels held and shown: all the station reports, at most
// MaxAnalogChannels.
int AnalogInputChannels(const StationConfiguration &config);

// Packs the output bytes of the slots holding module 1 or 7 into the digital
// output image, each module taking the next 8 or 4 channels; a module that
// starts in the middle of a byte fills its upper half. Bytes beyond the last
// module keep what they held.
void PackDigitalOutputs(const SlotIdTable &slotIds, const SlotByteTable &slotBytes, DigitalImage &image);

// An analog output as typed: both readings of a 16-bit word, -32768 to 65535.
constexpr qint64 AnalogOutputMin = -32768;
constexpr qint64 AnalogOutputMax = 65535;
// The word a cell text stands for, nothing for a text that is none.
std::optional<quint16> AnalogOutputWord(const QString &text);

// Fills tx from byte 6 on with the request and returns its length counting the
// six header bytes, kept in 8 bits. Analog values beyond the table and image
// bytes beyond the image are sent as 0; nothing is written past the buffer.
quint8 BuildProcessDataRequest(const StationConfiguration &config, quint8 slaveAddress, const AnalogOutTable &anaOut,
                               const DigitalImage &digOut, ModbusBuffer &tx);

// True when rx holds a whole process data reply to the request the
// configuration makes: function code 23, the byte count of the read quantity
// and a length that matches it (on the serial line two CRC bytes more).
bool IsProcessDataReply(const ModbusBuffer &rx, quint16 rxCount, const StationConfiguration &config, bool tcp);

// Decodes the analog inputs of a checked reply in channel order: a channel
// marked 1 in AnaInFormat is one register, sign-extended, any other two
// registers, most significant first. Stops where the reply's data end.
// Returns the number of channels decoded.
int DecodeAnalogInputs(const ModbusBuffer &rx, const StationConfiguration &config, AnalogInTable &values);

// Copies the (DigInCount + 7) / 8 digital input bytes of a checked reply into
// the image. Returns the number of bytes taken.
int DecodeDigitalInputs(const ModbusBuffer &rx, const StationConfiguration &config, DigitalImage &image);

// Where each slot's digital inputs sit in the packed input image: the first
// image bit of slot s and its number of channels (0 for a slot without inputs).
struct DigitalInputLayout {
    std::array<int, SlotCount + 1> firstBit{};
    std::array<int, SlotCount + 1> channels{};
};
DigitalInputLayout LayOutDigitalInputs(const SlotIdTable &slotIds);

// Bit q of a packed image: bit q mod 8 of byte q div 8.
bool ImageBit(const DigitalImage &image, int q);
