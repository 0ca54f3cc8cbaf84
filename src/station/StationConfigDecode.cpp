#include "station/StationConfigDecode.h"

#include "app/Conversions.h"
#include "link/RegisterRequests.h"

namespace
{

// The text of `length` bytes from `start`, cut at the end of the reply.
QString textAt(const std::array<quint8, FrameBufferSize> &rx, int limit, int start, int length)
{
    QString text;
    for (int i = start; i < start + length && i < limit; ++i)
        text += QChar(rx[static_cast<size_t>(i)]);
    return text;
}

int byteAt(const std::array<quint8, FrameBufferSize> &rx, int limit, int index)
{
    return index < limit ? rx[static_cast<size_t>(index)] : 0;
}

quint16 registerAt(const std::array<quint8, FrameBufferSize> &rx, int limit, int index)
{
    const int hi = 9 + 2 * index;
    if (hi + 1 >= limit)
        return 0;
    return static_cast<quint16>(rx[static_cast<size_t>(hi)] << 8 | rx[static_cast<size_t>(hi + 1)]);
}

int channelsOf16Bit(int id)
{
    switch (id) {
    case 3:
    case 4:
    case 8:
    case 11:
    case 68:
    case 75:
    case 132:
    case 139:
        return 4;
    case 14:
    case 15:
        return 2;
    default:
        return 0;
    }
}

} // namespace

quint8 BuildIdentityRequest(std::array<quint8, FrameBufferSize> &tx, quint8 unit)
{
    tx[6] = unit;
    tx[7] = 0x2B;
    tx[8] = 0x0E;  // MEI type: read device identification
    tx[9] = 0x01;  // basic identification
    tx[10] = 0x00; // from the first object
    return 11;
}

quint8 BuildSlotListRequest(std::array<quint8, FrameBufferSize> &tx, quint8 unit)
{
    return BuildReadRegisters(tx, unit, SlotListRegister, SlotListRegisters);
}

DeviceIdentity DecodeIdentity(const std::array<quint8, FrameBufferSize> &rx, int rxCount)
{
    const int limit = std::min(rxCount, FrameBufferSize);
    DeviceIdentity id;
    const int l1 = byteAt(rx, limit, 16);
    id.Manufacturer = textAt(rx, limit, 17, l1);
    const int l2 = byteAt(rx, limit, 18 + l1);
    id.Product = textAt(rx, limit, 19 + l1, l2);
    const int l3 = byteAt(rx, limit, 20 + l1 + l2);
    id.Version = textAt(rx, limit, 21 + l1 + l2, l3 + 1);
    return id;
}

void DecodeSlotList(const std::array<quint8, FrameBufferSize> &rx, int rxCount, StationConfiguration &config)
{
    const int limit = std::min(rxCount, FrameBufferSize);
    config.AnaInCount = registerAt(rx, limit, 0);
    config.AnaIn32Count = registerAt(rx, limit, 1);
    config.AnaOutCount = registerAt(rx, limit, 2);
    config.DigInCount = registerAt(rx, limit, 3);
    config.DigOutCount = registerAt(rx, limit, 4);
    for (int slot = 1; slot <= SlotCount; ++slot)
        config.SlotModuleIds[static_cast<size_t>(slot)] = registerAt(rx, limit, 4 + slot);
}

void DeriveAnalogTables(StationConfiguration &config)
{
    config.AnaInFormat.fill(0);
    config.TempChannelCount = 0;
    size_t channel = 0;
    for (int slot = 1; slot <= SlotCount; ++slot) {
        const int id = config.SlotModuleIds[static_cast<size_t>(slot)];
        int count = channelsOf16Bit(id);
        quint8 format = 1;
        if (id == 10) {
            count = 2;
            format = 0;
        }
        for (int c = 0; c < count; ++c, ++channel)
            if (channel < config.AnaInFormat.size())
                config.AnaInFormat[channel] = format;
        if (id == 8)
            config.TempChannelCount += 4;
        else if (id == 14)
            config.TempChannelCount += 2;
        else if (id == 15)
            config.TempChannelCount += 1;
    }
}

quint16 CountDigitalOutputModules(const StationConfiguration &config)
{
    quint16 count = 0;
    for (int slot = 1; slot <= SlotCount; ++slot) {
        const int id = config.SlotModuleIds[static_cast<size_t>(slot)];
        if (id == 1 || id == 7)
            ++count;
    }
    return count;
}

QStringList ReplyDataLines(const std::array<quint8, FrameBufferSize> &rx, int rxCount)
{
    QStringList lines;
    QString line = QStringLiteral("  Data : ");
    int inLine = 0;
    for (int i = 0; i < std::min(rxCount, FrameBufferSize); ++i) {
        line += QStringLiteral("  ") + HexText(rx[static_cast<size_t>(i)], 2);
        if (++inLine == 16) {
            lines << line;
            line = QStringLiteral("  Data : ");
            inLine = 0;
        }
    }
    if (inLine > 0)
        lines << line;
    return lines;
}

QString ReplyHeaderText(const std::array<quint8, FrameBufferSize> &rx)
{
    return QStringLiteral("ADR: ") + HexText(rx[6], 2) + QStringLiteral("  Code: ") + HexText(rx[7], 2);
}

QString DataSheetPath(const QString &programFolder, quint8 brandMode, const QString &shortName)
{
    QString folder = programFolder;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    QString name = shortName.left(6);
    if (brandMode == 1)
        return folder + QStringLiteral("Pdf/VALKO/") + name + QStringLiteral("FB.pdf");
    const QString eight = shortName.left(8);
    if (eight == QLatin1String("NX 624-0") || eight == QLatin1String("NX 624-1") || eight == QLatin1String("NX 624-2"))
        name = eight;
    return folder + QStringLiteral("Pdf/NUV/") + name + QStringLiteral("FB.pdf");
}

QString GridShortName(const QString &shortName)
{
    return shortName.isEmpty() ? QStringLiteral("----") : shortName.left(6);
}
