#include "link/RegisterRequests.h"

#include "link/FrameWords.h"

#include <algorithm>

static_assert(13 + 2 * MaxWriteRegisters <= 255, "a write must fit the one-byte frame length");
static_assert(9 + 2 * MaxReadRegisters + 2 <= 264, "a read reply must fit RxFrame");

quint8 BuildReadRegisters(ModbusBuffer &tx, quint8 unit, quint16 start, quint16 quantity, quint8 function)
{
    tx[6] = unit;
    tx[7] = function;
    PutWord16(tx, 8, start);
    PutWord16(tx, 10, quantity);
    return 12;
}

quint8 BuildWriteRegisters(ModbusBuffer &tx, quint8 unit, quint16 start, const std::vector<quint16> &words)
{
    const int n = std::min<int>(static_cast<int>(words.size()), MaxWriteRegisters);
    tx[6] = unit;
    tx[7] = 0x10;
    PutWord16(tx, 8, start);
    PutWord16(tx, 10, static_cast<quint16>(n));
    tx[12] = static_cast<quint8>(2 * n);
    for (int i = 0; i < n; ++i)
        PutWord16(tx, 13 + 2 * i, words[static_cast<size_t>(i)]);
    return static_cast<quint8>(13 + 2 * n);
}

quint8 BuildWriteSingleRegister(ModbusBuffer &tx, quint8 unit, quint16 reg, quint16 value)
{
    tx[6] = unit;
    tx[7] = 0x06;
    PutWord16(tx, 8, reg);
    PutWord16(tx, 10, value);
    return 12;
}
