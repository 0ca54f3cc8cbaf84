#pragma once
// Requests and replies of the 16-bit analog input parameter block: three
// registers per channel from 0x2000, read with function code 4 and written
// with function code 16, and the memo lines that record them.
#include "link/ModbusFrame.h"
#include "parameters/AnaInParams.h"

#include <QStringList>

constexpr quint16 AnaInStartRegister = 0x2000;
constexpr int AnaInRegistersPerChannel = 3;
constexpr int AnaInBytesPerChannel = 6;

// The channels a request carries: the station's count, at most the 16 the
// window holds.
int AnaInChannelsHandled(int count);

// Unit id, 0x04, 0x20, 0x00, quantity 3n into tx[6..11]; returns 12.
quint8 BuildAnaInReadRequest(ModbusBuffer &tx, quint8 unit, int n);
// Unit id, 0x10, 0x20, 0x00, quantity 3n, byte count 6n, then the six bytes of
// channels 1..n; returns 13 + 6n.
quint8 BuildAnaInWriteRequest(ModbusBuffer &tx, quint8 unit, int n, const AnaInBlock &block);

// tx[0 .. count - 1] in decimal, each followed by a blank (the header room too).
QString FrameBytesMemoLine(const ModbusBuffer &tx, int count);
// A blank, then the six bytes of channels 1..n in decimal, each followed by a blank.
QString AnaInWriteDataMemoLine(const AnaInBlock &block, int n);

// Decodes channels 1..n from rx[9] on into `block` and returns three memo
// lines per channel ("i :" and the word in hex); false, with nothing changed,
// when the reply does not hold them all.
bool DecodeAnaInReply(const ModbusBuffer &rx, quint16 rxCount, int n, AnaInBlock &block, QStringList &memoLines);
