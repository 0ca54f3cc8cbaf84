#pragma once
// Requests and replies of the digital output fail-state block: one register
// per digital output module from 0x2600, behaviour byte high, state byte low,
// read with function code 4 and written with function code 16; and the lines
// the window's log keeps of them.
#include "link/ModbusFrame.h"
#include "parameters/DigOutParams.h"

#include <QStringList>

constexpr quint16 DigOutStartRegister = 0x2600;

// Unit id, 0x04, 0x26, 0x00, quantity n into tx[6..11]; returns 12.
quint8 BuildDigOutReadRequest(ModbusBuffer &tx, quint8 unit, int n);
// Unit id, 0x10, 0x26, 0x00, quantity n, byte count 2n, then per module its
// behaviour and state byte; returns 13 + 2n.
quint8 BuildDigOutWriteRequest(ModbusBuffer &tx, quint8 unit, int n, const DigOutFailStates &states);

// Modules 0..n-1 from rx[9] on into `states`, with the two log lines of each
// ("Verhalten: 0| 80", "State: 0| 01"); false, with nothing changed, when the
// reply does not hold them all.
bool DecodeDigOutReply(const ModbusBuffer &rx, quint16 rxCount, int n, DigOutFailStates &states,
                       QStringList &memoLines);

// "2600Scheiben: ", tx[0..12] as two hex digits and a blank each, then per
// module its behaviour and state byte as four hex digits.
QString DigOutWriteMemoLine(const ModbusBuffer &tx, int n);
// "Antwort : Anzahl: " with rxCount in hex, and "  Data : " with the first
// rxCount bytes of rx, each after two blanks.
QStringList DigOutWriteReplyMemoLines(const ModbusBuffer &rx, quint16 rxCount);
// "Antwort : " followed by `text`.
QString DigOutAnswerLine(const QString &text);
