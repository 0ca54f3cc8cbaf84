#include "parameters/AnaIn32Frames.h"

#include "app/Conversions.h"
#include "link/FrameWords.h"

#include <algorithm>

static_assert(13 + AnaIn32BytesPerChannel * AnaIn32ChannelsPerRequest <= 255,
              "a write must fit the one-byte frame length");
static_assert(9 + AnaIn32BytesPerChannel * AnaIn32ChannelsPerRequest + 2 <= 264, "a read reply must fit RxFrame");
static_assert(AnaIn32RegistersPerChannel * AnaIn32ChannelsPerRequest <= 123, "a write may carry at most 123 registers");

namespace
{

constexpr int DataOffset = 9;

// Start register, quantity: tx[8..11].
void putBlockAddress(ModbusBuffer &tx, ChannelRange range)
{
    PutWord16(tx, 8, static_cast<quint16>(AnaIn32StartRegister + AnaIn32RegistersPerChannel * range.first));
    PutWord16(tx, 10, static_cast<quint16>(AnaIn32RegistersPerChannel * range.count));
}

QString decimalBytes(const quint8 *bytes, int count)
{
    QStringList parts;
    for (int i = 0; i < count; ++i)
        parts << QString::number(bytes[i]);
    return parts.join(QLatin1Char(' '));
}

} // namespace

std::vector<ChannelRange> SplitChannels(int n)
{
    n = std::clamp(n, 0, AnaIn32Channels);
    if (n == 0)
        return {ChannelRange{0, 0}};
    std::vector<ChannelRange> ranges;
    for (int first = 0; first < n; first += AnaIn32ChannelsPerRequest)
        ranges.push_back({first, std::min(AnaIn32ChannelsPerRequest, n - first)});
    return ranges;
}

quint8 BuildReadRequest(ModbusBuffer &tx, quint8 unit, ChannelRange range)
{
    tx[6] = unit;
    tx[7] = 0x04;
    putBlockAddress(tx, range);
    return 12;
}

quint8 BuildWriteRequest(ModbusBuffer &tx, quint8 unit, ChannelRange range, const AnaIn32Block &block)
{
    tx[6] = unit;
    tx[7] = 0x10;
    putBlockAddress(tx, range);
    tx[12] = static_cast<quint8>(AnaIn32BytesPerChannel * range.count);
    int at = 13;
    for (int i = range.first; i < range.first + range.count; ++i) {
        const AnaIn32Record &r = block[static_cast<size_t>(i)];
        PutWord16(tx, at, static_cast<quint16>(r.SetupWord));
        PutWord16(tx, at + 2, static_cast<quint16>(r.ModeWord));
        PutWord32(tx, at + 4, static_cast<quint32>(r.LowerProValue));
        PutWord32(tx, at + 8, static_cast<quint32>(r.UpperProValue));
        PutWord32(tx, at + 12, static_cast<quint32>(r.UpperFieldValue));
        at += AnaIn32BytesPerChannel;
    }
    return static_cast<quint8>(at);
}

QString RequestMemoLine(const ModbusBuffer &tx, int count)
{
    return decimalBytes(tx.data() + ModbusHeaderSize, count);
}

QString WriteDataMemoLine(const AnaIn32Block &block, ChannelRange range)
{
    QString line = QStringLiteral(" ");
    for (int i = range.first; i < range.first + range.count; ++i) {
        const AnaIn32Record &r = block[static_cast<size_t>(i)];
        const auto setup = static_cast<quint16>(r.SetupWord);
        const auto mode = static_cast<quint16>(r.ModeWord);
        for (int byte : {setup >> 8, setup & 0xFF, mode >> 8, mode & 0xFF})
            line += QString::number(byte) + QLatin1Char(' ');
    }
    return line;
}

int ReplyDataBytes(const ModbusBuffer &rx, quint16 rxCount)
{
    const int received = std::min<int>(rxCount, static_cast<int>(rx.size())) - DataOffset;
    return std::max(0, std::min<int>(received, rx[8]));
}

bool DecodeReadReply(const ModbusBuffer &rx, quint16 rxCount, ChannelRange range, AnaIn32Block &block,
                     QStringList &memoLines)
{
    if (ReplyDataBytes(rx, rxCount) < AnaIn32BytesPerChannel * range.count)
        return false;
    for (int n = 0; n < range.count; ++n) {
        const int at = DataOffset + AnaIn32BytesPerChannel * n;
        const int i = range.first + n;
        AnaIn32Record &r = block[static_cast<size_t>(i)];
        r.SetupWord = static_cast<qint16>(Word16At(rx, at));
        r.ModeWord = static_cast<qint16>(Word16At(rx, at + 2));
        r.LowerProValue = static_cast<qint32>(Word32At(rx, at + 4));
        r.UpperProValue = static_cast<qint32>(Word32At(rx, at + 8));
        r.UpperFieldValue = static_cast<qint32>(Word32At(rx, at + 12));
        const QString prefix = QString::number(i) + QStringLiteral(" :");
        memoLines << prefix + HexText(static_cast<quint32>(r.SetupWord), 4)
                  << prefix + HexText(static_cast<quint32>(r.ModeWord), 4)
                  << prefix + HexText(static_cast<quint32>(r.LowerProValue), 8)
                  << prefix + HexText(static_cast<quint32>(r.UpperProValue), 8)
                  << prefix + HexText(static_cast<quint32>(r.UpperFieldValue), 8);
    }
    return true;
}

QString WriteReplyMemoLine(const ModbusBuffer &rx, quint16 rxCount)
{
    const int end = std::min<int>({15, rxCount, static_cast<int>(rx.size())});
    return decimalBytes(rx.data() + DataOffset, std::max(0, end - DataOffset));
}
