#pragma once
// The texts the error window shows for the coupler's error word and for the
// status words of channels and modules. Message ids come from the window's
// word list; `lookup` turns them into the active language.
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

using MessageLookup = std::function<QString(const QString &)>;

// Message id of bit 0..15 of the coupler error word.
QString CouplerErrorId(int bit);
// Column 1 of the coupler grid, rows 1..16: the text of each set bit, an
// empty text for each clear one.
QStringList CouplerErrorTexts(quint16 word, const MessageLookup &lookup);

// Message id of an analog input or output channel's status code; nothing for
// codes without a text (1, and 10 and up), which leave the cell as it is.
std::optional<QString> AnaInStatusId(quint16 code);
std::optional<QString> AnaOutStatusId(quint16 code);
// Compensation channel: "@Ok" for 0, a transmission error otherwise.
QString CompensationStatusId(quint16 word);
// Digital output module: open load (bits 4..7) and short circuit (bits 0..3)
// per pair of channels, e.g. "Leerlauf Kanal 1/2, 3/4;  Kurzschluß Kanal 1/2".
QString DigOutModuleText(quint16 word, const MessageLookup &lookup);

// The cell text of a status word read in sequence step 2 (analog inputs),
// 3 (compensation), 4 (analog outputs) or 5 (digital output modules); nothing
// when the cell keeps its text.
std::optional<QString> StatusCellText(int step, quint16 word, const MessageLookup &lookup);
