#include "parameters/AnaInFrames.h"

#include "app/Conversions.h"
#include "link/FrameWords.h"
#include "link/RegisterRequests.h"
#include "parameters/AnaIn32Frames.h"

#include <algorithm>

static_assert(AnaInRegistersPerChannel * AnaInChannels <= MaxReadRegisters, "16 channels fit one read");
static_assert(AnaInRegistersPerChannel * AnaInChannels <= MaxWriteRegisters, "16 channels fit one write");

namespace
{

constexpr int DataOffset = 9;

QString bytesEachFollowedByBlank(const quint8 *bytes, int count)
{
    QString line;
    for (int i = 0; i < count; ++i)
        line += QString::number(bytes[i]) + QLatin1Char(' ');
    return line;
}

} // namespace

int AnaInChannelsHandled(int count)
{
    return std::clamp(count, 0, AnaInChannels);
}

quint8 BuildAnaInReadRequest(ModbusBuffer &tx, quint8 unit, int n)
{
    n = AnaInChannelsHandled(n);
    return BuildReadRegisters(tx, unit, AnaInStartRegister, static_cast<quint16>(AnaInRegistersPerChannel * n));
}

quint8 BuildAnaInWriteRequest(ModbusBuffer &tx, quint8 unit, int n, const AnaInBlock &block)
{
    n = AnaInChannelsHandled(n);
    std::vector<quint16> words;
    for (int i = 0; i < n; ++i) {
        const AnaInRecord &r = block[static_cast<size_t>(i)];
        for (qint32 v : {r.SetupWord, r.FilterValue, r.OffsetValue})
            words.push_back(static_cast<quint16>(v));
    }
    return BuildWriteRegisters(tx, unit, AnaInStartRegister, words);
}

QString FrameBytesMemoLine(const ModbusBuffer &tx, int count)
{
    return bytesEachFollowedByBlank(tx.data(), std::clamp(count, 0, static_cast<int>(tx.size())));
}

QString AnaInWriteDataMemoLine(const AnaInBlock &block, int n)
{
    n = AnaInChannelsHandled(n);
    QString line = QStringLiteral(" ");
    for (int i = 0; i < n; ++i) {
        const AnaInRecord &r = block[static_cast<size_t>(i)];
        for (qint32 v : {r.SetupWord, r.FilterValue, r.OffsetValue}) {
            const auto word = static_cast<quint16>(v);
            line += QString::number(word >> 8) + QLatin1Char(' ') + QString::number(word & 0xFF) + QLatin1Char(' ');
        }
    }
    return line;
}

bool DecodeAnaInReply(const ModbusBuffer &rx, quint16 rxCount, int n, AnaInBlock &block, QStringList &memoLines)
{
    n = AnaInChannelsHandled(n);
    if (ReplyDataBytes(rx, rxCount) < AnaInBytesPerChannel * n)
        return false;
    for (int i = 0; i < n; ++i) {
        const int at = DataOffset + AnaInBytesPerChannel * i;
        AnaInRecord &r = block[static_cast<size_t>(i)];
        r.SetupWord = static_cast<qint16>(Word16At(rx, at));
        r.FilterValue = static_cast<qint16>(Word16At(rx, at + 2));
        r.OffsetValue = static_cast<qint16>(Word16At(rx, at + 4));
        const QString prefix = QString::number(i) + QStringLiteral(" :");
        for (qint32 v : {r.SetupWord, r.FilterValue, r.OffsetValue})
            memoLines << prefix + HexText(static_cast<quint32>(v), 4);
    }
    return true;
}
