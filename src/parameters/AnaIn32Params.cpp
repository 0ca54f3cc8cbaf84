#include "parameters/AnaIn32Params.h"

#include "app/Conversions.h"

#include <algorithm>
#include <limits>

namespace
{

constexpr qint32 ValueBit = 1 << 11;
constexpr qint32 Format32Bit = 1 << 12;
constexpr qint32 ScaleBit = 1 << 13;
constexpr qint32 SpikeOffBit = 1 << 14;
constexpr qint32 InactiveBit = 1 << 15;

bool rowClearsSpareBits(int row)
{
    return row == 1 || row == 2;
}

} // namespace

QString TypeText(qint32 setupWord)
{
    return (setupWord & 0xFF) == StrainGaugeType ? QStringLiteral("4mV/V") : QStringLiteral("???");
}

SetupSwitches SwitchesOf(qint32 setupWord)
{
    SetupSwitches s;
    s.Value = setupWord & ValueBit;
    s.Format32 = setupWord & Format32Bit;
    s.Scale = setupWord & ScaleBit;
    s.Spike = !(setupWord & SpikeOffBit);
    s.Aktiv = !(setupWord & InactiveBit);
    return s;
}

qint32 RebuildSetupWord(const SetupSwitches &s)
{
    qint32 word = StrainGaugeType;
    if (s.Value)
        word += ValueBit;
    if (s.Format32)
        word += Format32Bit;
    if (s.Scale)
        word += ScaleBit;
    if (!s.Spike)
        word += SpikeOffBit;
    if (!s.Aktiv)
        word += InactiveBit;
    return word;
}

int FilterOf(qint32 modeWord)
{
    return (modeWord >> 8) & 0xFF;
}

int LimitFilter(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, FilterMin, FilterMax));
}

qint32 WithFilter(qint32 modeWord, int position)
{
    return (modeWord & ~0xFF00) | ((position & 0xFF) << 8);
}

int OutputIndexOf(qint32 modeWord)
{
    const int index = modeWord & 7;
    return index < OutputEntries ? index : -1;
}

int FormatIndexOf(qint32 modeWord)
{
    const int index = (modeWord >> 4) & 7;
    return index < FormatEntries ? index : -1;
}

qint32 WithOutput(qint32 modeWord, int row, int index)
{
    const qint32 keep = rowClearsSpareBits(row) ? 0xFFF0 : 0xFFF8;
    return (modeWord & keep) | (index & 7);
}

qint32 WithFormat(qint32 modeWord, int row, int index)
{
    const qint32 keep = rowClearsSpareBits(row) ? 0xFF0F : 0xFF8F;
    return (modeWord & keep) | ((index & 7) << 4);
}

std::optional<qint32> ParseInt32(const QString &text)
{
    const std::optional<qint64> value = ParseUserInteger(text);
    if (!value || *value < std::numeric_limits<qint32>::min() || *value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(*value);
}
