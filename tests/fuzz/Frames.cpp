#include "Frames.h"

namespace fuzz
{

namespace
{

int below(std::mt19937 &rng, int n)
{
    return std::uniform_int_distribution<int>(0, n - 1)(rng);
}

} // namespace

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes WithCrc(Bytes frame)
{
    const quint16 crc = ReferenceCrc(frame.data(), frame.size());
    frame.push_back(static_cast<quint8>(crc & 0xFF));
    frame.push_back(static_cast<quint8>(crc >> 8));
    return frame;
}

Bytes TcpFrame(quint16 transaction, const Bytes &pdu)
{
    Bytes frame = {static_cast<quint8>(transaction >> 8), static_cast<quint8>(transaction), 0, 0,
                   static_cast<quint8>(pdu.size() >> 8),  static_cast<quint8>(pdu.size())};
    frame.insert(frame.end(), pdu.begin(), pdu.end());
    return frame;
}

Bytes WithTcpLength(Bytes frame, int length)
{
    frame[4] = static_cast<quint8>(length >> 8);
    frame[5] = static_cast<quint8>(length);
    return frame;
}

Bytes Counting(size_t count, quint8 first)
{
    Bytes bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<quint8>(first + i);
    return bytes;
}

Bytes RandomBytes(std::mt19937 &rng, size_t count)
{
    Bytes bytes(count);
    for (quint8 &b : bytes)
        b = static_cast<quint8>(below(rng, 256));
    return bytes;
}

Bytes DeviceIdentification(const std::vector<Bytes> &objects)
{
    Bytes frame = {0x08, 0x2B, 0x0E, 0x01, 0x01, 0x00, 0x00, static_cast<quint8>(objects.size())};
    for (size_t i = 0; i < objects.size(); ++i) {
        frame.push_back(static_cast<quint8>(i));
        frame.push_back(static_cast<quint8>(objects[i].size()));
        frame.insert(frame.end(), objects[i].begin(), objects[i].end());
    }
    return frame;
}

Bytes RandomReplyPdu(std::mt19937 &rng)
{
    const quint8 unit = below(rng, 4) == 0 ? static_cast<quint8>(below(rng, 256)) : 0x08;
    static constexpr quint8 Counted[] = {1, 2, 3, 4, 12, 17, 20, 21, 23};
    static constexpr quint8 Fixed[] = {5, 6, 11, 15, 16};
    switch (below(rng, 8)) {
    case 0:
        return {unit, static_cast<quint8>(0x80 | below(rng, 128)), static_cast<quint8>(below(rng, 256))};
    case 1:
    case 2: {
        const int count = below(rng, 4) == 0 ? below(rng, 256) : 2 * below(rng, 20);
        return Concat(
            {{unit, Counted[below(rng, 9)], static_cast<quint8>(count)}, RandomBytes(rng, static_cast<size_t>(count))});
    }
    case 3:
        return Concat({{unit, Fixed[below(rng, 5)]}, RandomBytes(rng, 4)});
    case 4:
        return Concat({{unit, below(rng, 2) ? quint8(7) : quint8(22)}, RandomBytes(rng, below(rng, 2) ? 1 : 6)});
    case 5: {
        std::vector<Bytes> objects(static_cast<size_t>(below(rng, 5)));
        for (Bytes &object : objects)
            object = RandomBytes(rng, static_cast<size_t>(below(rng, 40)));
        Bytes frame = DeviceIdentification(objects);
        if (below(rng, 3) == 0) // object count or a length that lies
            frame[below(rng, 2) ? 7 : frame.size() > 9 ? 9 : 7] = static_cast<quint8>(below(rng, 256));
        return frame;
    }
    case 6: // function codes that do not tell their length
        return Concat({{unit, static_cast<quint8>(0x41 + below(rng, 20))},
                       RandomBytes(rng, static_cast<size_t>(1 + below(rng, 260)))});
    default:
        return Concat({{unit, 0}, RandomBytes(rng, static_cast<size_t>(below(rng, 10)))});
    }
}

} // namespace fuzz
