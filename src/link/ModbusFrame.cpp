#include "link/ModbusFrame.h"

#include "link/ModbusCrc.h"

namespace
{

// The largest one-byte length puts the second CRC byte at index 256.
static_assert(255 + 1 < static_cast<int>(std::tuple_size_v<ModbusBuffer>),
              "the RTU CRC must fit behind the longest request");

QString hexBytes(const quint8 *data, int count, QLatin1String separator)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    QString text;
    if (data == nullptr || count <= 0)
        return text;
    text.reserve(count * (2 + separator.size()));
    for (int i = 0; i < count; ++i) {
        text += QLatin1Char(Digits[data[i] >> 4]);
        text += QLatin1Char(Digits[data[i] & 0x0F]);
        text += separator;
    }
    return text;
}

} // namespace

OutgoingFrame BuildTcpFrame(ModbusBuffer &tx, quint8 length, quint16 transactionId)
{
    tx[0] = static_cast<quint8>(transactionId >> 8);
    tx[1] = static_cast<quint8>(transactionId & 0xFF);
    tx[2] = 0;
    tx[3] = 0;
    tx[4] = 0;
    const int payload = length > ModbusHeaderSize ? length - ModbusHeaderSize : 0;

    OutgoingFrame frame;
    frame.bytes.reserve(ModbusHeaderSize + payload);
    frame.bytes.append(reinterpret_cast<const char *>(tx.data()), 5);
    frame.bytes.append(static_cast<char>(payload));
    frame.bytes.append(reinterpret_cast<const char *>(tx.data() + ModbusHeaderSize), payload);
    frame.hexText =
        SendHexText(reinterpret_cast<const quint8 *>(frame.bytes.constData()), static_cast<int>(frame.bytes.size()));
    return frame;
}

OutgoingFrame BuildRtuFrame(ModbusBuffer &tx, quint8 length)
{
    OutgoingFrame frame;
    if (length <= ModbusHeaderSize)
        return frame;
    const int n = length - ModbusHeaderSize;
    const quint16 crc = ModbusCrc16(tx.data() + ModbusHeaderSize, n);
    tx[ModbusHeaderSize + n] = static_cast<quint8>(crc & 0xFF);
    tx[ModbusHeaderSize + n + 1] = static_cast<quint8>(crc >> 8);

    frame.bytes = QByteArray(reinterpret_cast<const char *>(tx.data() + ModbusHeaderSize), n + 2);
    frame.hexText = SendHexText(tx.data() + ModbusHeaderSize, n + 2);
    return frame;
}

QString ExceptionText(quint8 code)
{
    return QStringLiteral(" Fehler ") + BareExceptionText(code);
}

QString BareExceptionText(quint8 code)
{
    QString text;
    switch (code) {
    case 1:
        text += QStringLiteral("Illegal Function");
        break;
    case 2:
        text += QStringLiteral("Illegal Data Adress");
        break;
    case 3:
        text += QStringLiteral("Illegal Data Value");
        break;
    default:
        break;
    }
    return text;
}

QString SendHexText(const quint8 *data, int count)
{
    return hexBytes(data, count, QLatin1String(" "));
}

QString SerialReceiveText(const quint8 *data, int count)
{
    return hexBytes(data, count, QLatin1String(""));
}

QString TcpReceiveText(const quint8 *data, int count)
{
    return hexBytes(data, count, QLatin1String("  "));
}
