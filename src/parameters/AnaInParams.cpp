#include "parameters/AnaInParams.h"

#include <algorithm>

const std::array<SensorType, SensorTypeCount> SensorTypeTable = {{
    {"0 ... 10 V", 40},
    {"-3...3V", 42},
    {"-10 ... 10 V", 41},
    {"4 ... 20 mA", 51},
    {"0 ... 20 mA", 52},
    {"Pt100", 30},
    {"TC Typ J", 1},
    {"TC Typ K", 2},
    {"TC Typ L", 3},
    {"TC Typ E", 4},
    {"TC Typ T", 5},
    {"TC Typ S", 6},
    {"TC Typ R", 7},
    {"TC Typ B", 8},
    {"TC Typ N", 9},
    {"TC Typ W", 10},
    {"???", 0},
}};

namespace
{

constexpr qint32 ScaleBit = 1 << 13;
constexpr qint32 SpikeOffBit = 1 << 14;
constexpr qint32 InactiveBit = 1 << 15;

// Code to list entry, one byte per code; codes without a row stay at entry 0.
std::array<quint8, 256> codeToIndexTable()
{
    std::array<quint8, 256> table{};
    for (int i = 0; i < SensorTypeCount; ++i)
        table[SensorTypeTable[static_cast<size_t>(i)].code] = static_cast<quint8>(i);
    return table;
}

} // namespace

QStringList SensorTypeTexts()
{
    QStringList texts;
    for (const SensorType &t : SensorTypeTable)
        texts << QString::fromLatin1(t.text);
    return texts;
}

int SensorTypeIndexOf(qint32 setupWord)
{
    static const std::array<quint8, 256> table = codeToIndexTable();
    return table[static_cast<size_t>(setupWord & 0xFF)];
}

qint32 WithSensorType(qint32 setupWord, int index)
{
    const int code = index >= 0 && index < SensorTypeCount ? SensorTypeTable[static_cast<size_t>(index)].code : 0;
    return (setupWord & 0xFF00) | code;
}

QStringList UnitTexts()
{
    return {QStringLiteral("???"),   QStringLiteral("uA"),   QStringLiteral("mV"),   QStringLiteral("mV/10"),
            QStringLiteral("°C/10"), QStringLiteral("K/10"), QStringLiteral("°F/10")};
}

int UnitIndexOf(qint32 setupWord)
{
    return (setupWord >> 8) & 7;
}

qint32 WithUnit(qint32 setupWord, int index)
{
    return (setupWord & 0xF8FF) | ((index & 7) << 8);
}

AnaInSwitches AnaInSwitchesOf(qint32 setupWord)
{
    AnaInSwitches s;
    s.Scale = setupWord & ScaleBit;
    s.Spike = !(setupWord & SpikeOffBit);
    s.Aktiv = !(setupWord & InactiveBit);
    return s;
}

qint32 WithAnaInSwitches(qint32 setupWord, const AnaInSwitches &s)
{
    qint32 word = setupWord & ~(ScaleBit | SpikeOffBit | InactiveBit);
    if (s.Scale)
        word |= ScaleBit;
    if (!s.Spike)
        word |= SpikeOffBit;
    if (!s.Aktiv)
        word |= InactiveBit;
    return word;
}

int LimitToRange(qint64 value, int min, int max)
{
    return static_cast<int>(std::clamp<qint64>(value, min, max));
}
