#pragma once
// Requests for a block of registers, filled into TxFrame from byte 6 on. Each
// returns the length to hand to the transport (the six header bytes counted).
#include "link/ModbusFrame.h"

#include <vector>

// Largest quantities one request may carry: a read reply and a write request
// must both fit a Modbus frame (and the one-byte length).
constexpr int MaxReadRegisters = 125;
constexpr int MaxWriteRegisters = 121;

// Function 4 (input registers) or 3 (holding registers): unit, function,
// start, quantity.
quint8 BuildReadRegisters(ModbusBuffer &tx, quint8 unit, quint16 start, quint16 quantity, quint8 function = 0x04);

// Function 16: unit, 0x10, start, quantity, byte count, then the words from
// tx[13] on. Words beyond MaxWriteRegisters are not taken.
quint8 BuildWriteRegisters(ModbusBuffer &tx, quint8 unit, quint16 start, const std::vector<quint16> &words);

// Function 6: unit, 0x06, register, value.
quint8 BuildWriteSingleRegister(ModbusBuffer &tx, quint8 unit, quint16 reg, quint16 value);
