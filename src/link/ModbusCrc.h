#pragma once
// CRC-16 of Modbus RTU frames (initial value 0xFFFF, reflected polynomial 0xA001).
#include <QtGlobal>

// Returns the CRC register: its low-order byte goes on the line first, then the
// high-order byte. A count of 0 or less gives 0xFFFF.
quint16 ModbusCrc16(const quint8 *data, int count);
