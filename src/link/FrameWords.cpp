#include "link/FrameWords.h"

namespace
{

bool inside(const ModbusBuffer &frame, int index, int bytes)
{
    return index >= 0 && index + bytes <= static_cast<int>(frame.size());
}

} // namespace

quint16 Word16At(const ModbusBuffer &frame, int index)
{
    if (!inside(frame, index, 2))
        return 0;
    return static_cast<quint16>(frame[static_cast<size_t>(index)] << 8 | frame[static_cast<size_t>(index + 1)]);
}

quint32 Word32At(const ModbusBuffer &frame, int index)
{
    if (!inside(frame, index, 4))
        return 0;
    return static_cast<quint32>(Word16At(frame, index)) << 16 | Word16At(frame, index + 2);
}

void PutWord16(ModbusBuffer &frame, int index, quint16 value)
{
    if (!inside(frame, index, 2))
        return;
    frame[static_cast<size_t>(index)] = static_cast<quint8>(value >> 8);
    frame[static_cast<size_t>(index + 1)] = static_cast<quint8>(value & 0xFF);
}

void PutWord32(ModbusBuffer &frame, int index, quint32 value)
{
    if (!inside(frame, index, 4))
        return;
    PutWord16(frame, index, static_cast<quint16>(value >> 16));
    PutWord16(frame, index + 2, static_cast<quint16>(value & 0xFFFF));
}
