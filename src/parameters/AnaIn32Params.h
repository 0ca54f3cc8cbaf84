#pragma once
// The parameter records of the 32-bit analog input (strain gauge) channels and
// the rules between their words and the window's controls.
#include <QString>
#include <array>
#include <optional>

constexpr int AnaIn32Channels = 16;

struct AnaIn32Record {
    qint32 SetupWord = 0; // from a 16-bit word, sign-extended
    qint32 ModeWord = 0;  // from a 16-bit word, sign-extended
    qint32 LowerProValue = 0;
    qint32 UpperProValue = 0;
    qint32 UpperFieldValue = 0;
};

// Channel k (1..16) is element k - 1.
using AnaIn32Block = std::array<AnaIn32Record, AnaIn32Channels>;

// Type code of the strain gauge input, the letter G.
constexpr int StrainGaugeType = 71;

// "4mV/V" for the strain gauge type code in bits 0..7, "???" for any other.
QString TypeText(qint32 setupWord);

// The switches of SetupWord as the check boxes show them.
struct SetupSwitches {
    bool Aktiv = true;     // bit 15 clear
    bool Spike = true;     // bit 14 clear
    bool Scale = false;    // bit 13
    bool Format32 = false; // bit 12
    bool Value = false;    // bit 11
};
SetupSwitches SwitchesOf(qint32 setupWord);
// From scratch: the strain gauge type code plus the switch bits; bits 8..10 and
// the type code read from the coupler are not kept.
qint32 RebuildSetupWord(const SetupSwitches &switches);

constexpr int FilterMin = 1;
constexpr int FilterMax = 255;
// ModeWord bits 8..15.
int FilterOf(qint32 modeWord);
// The filter scroll bar's range.
int LimitFilter(qint64 value);
// Bits 8..15 replaced by the position, all others kept.
qint32 WithFilter(qint32 modeWord, int position);

// The entry of the output (bits 0..2) and format (bits 4..6) selections; -1
// where the list has no entry for the value.
int OutputIndexOf(qint32 modeWord);
int FormatIndexOf(qint32 modeWord);
// A new selection in row `row` (1..16); index -1 (no selection) counts as 7.
// Rows 1 and 2 also clear bit 3 (output) and bit 7 (format), the other rows
// keep them.
qint32 WithOutput(qint32 modeWord, int row, int index);
qint32 WithFormat(qint32 modeWord, int row, int index);

constexpr int OutputEntries = 4; // "Brutto", "Netto", "Tara", "Offset"
constexpr int FormatEntries = 5; // "Normal", "Null", "Tara", "", "res Tara"

// A user's integer text as a signed 32-bit value; nothing for a text that is
// not an integer or lies beyond the 32-bit range.
std::optional<qint32> ParseInt32(const QString &text);
