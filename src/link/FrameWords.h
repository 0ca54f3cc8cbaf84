#pragma once
// Register values in the frame buffers: 16-bit words high byte first, 32-bit
// values most significant word first. Reads outside the buffer give 0 and
// writes outside it are dropped, so a wrong index never touches other memory.
#include "link/ModbusFrame.h"

quint16 Word16At(const ModbusBuffer &frame, int index);
quint32 Word32At(const ModbusBuffer &frame, int index);
void PutWord16(ModbusBuffer &frame, int index, quint16 value);
void PutWord32(ModbusBuffer &frame, int index, quint32 value);
