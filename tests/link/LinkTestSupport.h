#pragma once
// Frame builders for the link tests. The CRC here is the bit-by-bit form, so
// frames built with it also check the table-driven code under test.
#include <QtGlobal>
#include <initializer_list>
#include <vector>

using Bytes = std::vector<quint8>;

inline quint16 BitwiseCrc16(const quint8 *data, size_t count)
{
    quint16 crc = 0xFFFF;
    for (size_t i = 0; i < count; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<quint16>((crc >> 1) ^ 0xA001) : static_cast<quint16>(crc >> 1);
    }
    return crc;
}

// Unit identifier, function code and data followed by their CRC, low byte first.
inline Bytes WithCrc(Bytes frame)
{
    const quint16 crc = BitwiseCrc16(frame.data(), frame.size());
    frame.push_back(static_cast<quint8>(crc & 0xFF));
    frame.push_back(static_cast<quint8>(crc >> 8));
    return frame;
}

// A Modbus/TCP reply: header with the true length, then unit, function, data.
inline Bytes TcpReply(quint16 transaction, const Bytes &pdu)
{
    Bytes frame{static_cast<quint8>(transaction >> 8), static_cast<quint8>(transaction & 0xFF), 0, 0,
                static_cast<quint8>(pdu.size() >> 8),  static_cast<quint8>(pdu.size() & 0xFF)};
    frame.insert(frame.end(), pdu.begin(), pdu.end());
    return frame;
}

inline Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}
