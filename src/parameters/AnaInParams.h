#pragma once
// The parameter records of the 16-bit analog input channels and the rules
// between their words and the window's controls.
#include <QString>
#include <QStringList>
#include <array>

constexpr int AnaInChannels = 16;

struct AnaInRecord {
    qint32 SetupWord = 0;   // from a 16-bit word, sign-extended
    qint32 FilterValue = 0; // from a 16-bit word, sign-extended
    qint32 OffsetValue = 0; // from a 16-bit word, sign-extended
};

// Channel k (1..16) is element k - 1.
using AnaInBlock = std::array<AnaInRecord, AnaInChannels>;

struct SensorType {
    const char *text;
    quint8 code;
};

// The type list of every channel, in list order; the last entry "???" is code 0.
constexpr int SensorTypeCount = 17;
constexpr int UnknownSensorTypeIndex = 16;
extern const std::array<SensorType, SensorTypeCount> SensorTypeTable;
QStringList SensorTypeTexts();

// The list entry of the type code in bits 0..7; a code the list does not know
// shows as the first entry.
int SensorTypeIndexOf(qint32 setupWord);
// Bits 0..7 replaced by the code of entry `index`; no selection gives code 0.
// Bits 8..15 stay, the sign extension does not.
qint32 WithSensorType(qint32 setupWord, int index);

// Seven entries; bits 8..10 hold the index, 7 has no entry.
QStringList UnitTexts();
int UnitIndexOf(qint32 setupWord);
// Bits 8..10 replaced by `index`; no selection (-1) gives 7.
qint32 WithUnit(qint32 setupWord, int index);

// The switches as the check boxes show them.
struct AnaInSwitches {
    bool Aktiv = false; // bit 15 clear
    bool Spike = false; // bit 14 clear
    bool Scale = false; // bit 13 set
};
AnaInSwitches AnaInSwitchesOf(qint32 setupWord);
// Bits 13..15 from the check boxes; every other bit stays.
qint32 WithAnaInSwitches(qint32 setupWord, const AnaInSwitches &switches);

// The scroll bar ranges of filter and offset.
constexpr int AnaInFilterMin = 1;
constexpr int AnaInFilterMax = 255;
constexpr int AnaInOffsetMin = -32767;
constexpr int AnaInOffsetMax = 32767;
int LimitToRange(qint64 value, int min, int max);

// Values of a record after start-up: filter 51, offset 0.
constexpr int AnaInDefaultFilter = 51;
