#pragma once
// A parameter object as the module description file describes it (section
// "Object_" + identifier), and what its editors make of a value: the bit
// flags of a digital object, and the flags, the number field and the value
// rows of a mixed object. Read by the additional I/O editor and by the
// analog output parameter window.
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

class IniFile;

constexpr qint64 DigitalObjectTyp = 1;
constexpr qint64 MixedObjectTyp = 2;
constexpr int ObjectValueRows = 4;
constexpr int DigitalObjectBoxes = 8;
constexpr int MixedObjectBoxes = 4;

// Row r of a mixed object: "ValueMask", "ValueCaption", "ValueList" and
// "ValueText" followed by r.
struct ObjectValueRow {
    QString Caption;
    qint64 Mask = 0;
    std::vector<qint64> Values;
    QStringList Texts;

    // Its lists hold the same number of items, not 0.
    bool Usable() const { return !Values.empty() && static_cast<int>(Values.size()) == Texts.size(); }
    // The item whose value equals the value's bits under the mask; -1 for none.
    int IndexOf(qint64 value) const;
};

// The description of one object (the editor's tObjItems).
struct tObjItems {
    QString Id; // cut to 7 characters
    QString Name;
    qint64 Typ = 0;
    qint64 Bytes = 0;
    bool Signed = false;
    std::vector<qint64> BitNumbers;
    QStringList BitTexts;
    std::array<ObjectValueRow, ObjectValueRows> Rows;
    QString RangeCaption;
    QStringList Range; // minimum, maximum; items as the file writes them

    // With a range caption, row 0 is a number field.
    bool HasNumberField() const { return !RangeCaption.isEmpty(); }
    int FirstValueRow() const { return HasNumberField() ? 1 : 0; }
};

tObjItems LoadObjectItems(const IniFile &descriptionFile, const QString &objectId);

// One check box: the flag's caption and whether its bit is set in the low 32
// bits of the value. At most `boxes` (8 for a digital, 4 for a mixed object).
struct ObjectBitBox {
    QString Caption;
    bool Ticked = false;
};
std::vector<ObjectBitBox> ObjectBitBoxes(const tObjItems &items, qint64 value, int boxes);

// A digital object's value from its ticked boxes (element i is box i): the
// listed bits of the ticked boxes, every other bit 0, widened from 32 bits
// with sign.
qint64 DigitalObjectValue(const tObjItems &items, const std::vector<bool> &ticked);

// The number field's text: the value's bits under ValueMask0, read as a
// signed number of Bytes bytes (1, 2 or 4; any other size as 4) for a signed
// object, as they stand for an unsigned one.
QString NumberFieldText(const tObjItems &items, qint64 value);

// The number a field text stands for, limited to ValueRange and kept to the
// field's bits under ValueMask0; nothing for a text that is no integer.
// A signed object reads "0x" text as the bit pattern of the field.
std::optional<qint64> NumberFieldValue(const tObjItems &items, const QString &text);

// A mixed object's value: the bits of the ticked boxes (element i is box i),
// the number field's bits (when the object has a number field), and per
// shown value row r the value of its selected item under its mask;
// `selected[r]` -1 (no selection) adds nothing.
qint64 MixedObjectValue(const tObjItems &items, const std::vector<bool> &ticked, std::optional<qint64> field,
                        const std::array<int, ObjectValueRows> &selected);
