#include "process/PipeMessages.h"

PipeMessage BuildPipeResponse(const std::array<qint32, 16> &anaInValues, const std::array<quint8, 12> &digInBytes,
                              quint8 stationFlags)
{
    PipeMessage m{};
    for (size_t i = 0; i < 16; ++i) {
        const quint32 v = static_cast<quint32>(anaInValues[i]);
        for (size_t b = 0; b < 4; ++b)
            m[4 * i + b] = static_cast<quint8>(v >> (8 * b));
    }
    for (size_t i = 0; i < 9; ++i)
        m[PipeOutputBytesStart + i] = digInBytes[i];
    m[PipeControlByte] = stationFlags;
    return m;
}

PipeResponseFields ParsePipeResponse(const PipeMessage &response)
{
    PipeResponseFields f;
    for (size_t i = 0; i < 16; ++i) {
        quint32 v = 0;
        for (size_t b = 0; b < 4; ++b)
            v |= static_cast<quint32>(response[4 * i + b]) << (8 * b);
        f.AnaIn[i] = static_cast<qint32>(v);
    }
    for (size_t i = 0; i < 9; ++i)
        f.DigIn[i] = response[PipeOutputBytesStart + i];
    f.Flags = response[PipeControlByte];
    return f;
}

PipeMessage BuildPipeRequest(const std::array<quint8, 9> &outputBytes, quint8 control)
{
    PipeMessage m{};
    for (size_t i = 0; i < 9; ++i)
        m[PipeOutputBytesStart + i] = outputBytes[i];
    m[PipeControlByte] = control;
    return m;
}

PipeMessage ToPipeMessage(const QByteArray &bytes)
{
    PipeMessage m{};
    const qsizetype n = std::min<qsizetype>(bytes.size(), PipeMessageSize);
    for (qsizetype i = 0; i < n; ++i)
        m[static_cast<size_t>(i)] = static_cast<quint8>(bytes[i]);
    return m;
}

QByteArray ToByteArray(const PipeMessage &message)
{
    return QByteArray(reinterpret_cast<const char *>(message.data()), PipeMessageSize);
}
