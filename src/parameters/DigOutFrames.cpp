#include "parameters/DigOutFrames.h"

#include "app/Conversions.h"
#include "link/RegisterRequests.h"
#include "parameters/AnaIn32Frames.h"

#include <algorithm>
#include <vector>

namespace
{

constexpr int DataOffset = 9;

QString hex2(quint8 byte)
{
    return HexText(byte, 2);
}

} // namespace

quint8 BuildDigOutReadRequest(ModbusBuffer &tx, quint8 unit, int n)
{
    return BuildReadRegisters(tx, unit, DigOutStartRegister, static_cast<quint16>(DigOutModulesHandled(n)));
}

quint8 BuildDigOutWriteRequest(ModbusBuffer &tx, quint8 unit, int n, const DigOutFailStates &states)
{
    std::vector<quint16> words;
    for (size_t k = 0; k < static_cast<size_t>(DigOutModulesHandled(n)); ++k)
        words.push_back(static_cast<quint16>(states.BehaviourBits[k] << 8 | states.StateBits[k]));
    return BuildWriteRegisters(tx, unit, DigOutStartRegister, words);
}

bool DecodeDigOutReply(const ModbusBuffer &rx, quint16 rxCount, int n, DigOutFailStates &states, QStringList &memoLines)
{
    n = DigOutModulesHandled(n);
    if (ReplyDataBytes(rx, rxCount) < 2 * n)
        return false;
    for (int k = 0; k < n; ++k) {
        const quint8 behaviour = rx[static_cast<size_t>(DataOffset + 2 * k)];
        const quint8 state = rx[static_cast<size_t>(DataOffset + 2 * k + 1)];
        states.BehaviourBits[static_cast<size_t>(k)] = behaviour;
        states.StateBits[static_cast<size_t>(k)] = state;
        memoLines << QStringLiteral("Verhalten: %1| %2").arg(k).arg(hex2(behaviour))
                  << QStringLiteral("State: %1| %2").arg(k).arg(hex2(state));
    }
    return true;
}

QString DigOutWriteMemoLine(const ModbusBuffer &tx, int n)
{
    QString line = QStringLiteral("2600") + QStringLiteral("Scheiben: ");
    for (size_t i = 0; i < 13; ++i)
        line += hex2(tx[i]) + QLatin1Char(' ');
    for (int k = 0; k < DigOutModulesHandled(n); ++k)
        line += hex2(tx[static_cast<size_t>(13 + 2 * k)]) + hex2(tx[static_cast<size_t>(14 + 2 * k)]);
    return line;
}

QStringList DigOutWriteReplyMemoLines(const ModbusBuffer &rx, quint16 rxCount)
{
    QString data = QStringLiteral("  Data : ");
    const int count = std::min<int>(rxCount, static_cast<int>(rx.size()));
    for (int i = 0; i < count; ++i)
        data += QStringLiteral("  ") + hex2(rx[static_cast<size_t>(i)]);
    return {DigOutAnswerLine(QStringLiteral("Anzahl: ") + HexText(rxCount, 2)), data};
}

QString DigOutAnswerLine(const QString &text)
{
    return QStringLiteral("Antwort : ") + text;
}
