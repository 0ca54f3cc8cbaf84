#pragma once
// The parameter words of the analog output channels, one register per channel
// from 0x2400 (read with function code 4, written with function code 16), and
// how a word reads as the module's parameter object in the module description
// file describes it: the same value rows the additional I/O editor offers.
#include "app/StationTypes.h"
#include "link/ModbusFrame.h"
#include "station/ModuleCatalogue.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class IniFile;

constexpr int AnaOutChannels = 16;
constexpr quint16 AnaOutStartRegister = 0x2400;

// Channel k (1..16) is element k - 1; each word sign-extended from 16 bits.
using AnaOutBlock = std::array<qint32, AnaOutChannels>;

// The channels a request carries: the station's count, at most the 16 the
// window holds.
int AnaOutChannelsHandled(int count);

// Unit id, 0x04, 0x24, 0x00, quantity n into tx[6..11]; returns 12.
quint8 BuildAnaOutReadRequest(ModbusBuffer &tx, quint8 unit, int n);
// Unit id, 0x10, 0x24, 0x00, quantity n, byte count 2n, then the words of
// channels 1..n; returns 13 + 2n.
quint8 BuildAnaOutWriteRequest(ModbusBuffer &tx, quint8 unit, int n, const AnaOutBlock &block);
// Channels 1..n from rx[9] on into `block`; false, with nothing changed, when
// the reply does not hold them all.
bool DecodeAnaOutReply(const ModbusBuffer &rx, quint16 rxCount, int n, AnaOutBlock &block);

// The low 16 bits as four upper-case hex digits.
QString AnaOutWordText(qint32 word);

// One value row of a parameter object: the bits it covers and the values
// listed for them, each with its text.
struct AnaOutChoice {
    QString caption;
    qint64 mask = 0;
    std::vector<qint64> values;
    QStringList texts;

    // The entry whose value the word's covered bits hold; -1 when none is listed.
    int indexOf(qint32 word) const;
    // The entry's text, "???" for -1.
    QString textOf(qint32 word) const;
    // The word with the covered bits set to entry `index`; every other bit
    // stays. An index without an entry leaves the word as it is.
    qint32 applied(qint32 word, int index) const;
};

// A channel's parameter object; `choices` are its value rows in row order.
struct AnaOutObject {
    QString id; // empty: the channel has no object the window knows
    QString name;
    std::vector<AnaOutChoice> choices;

    const AnaOutChoice *choice(int row) const
    {
        return row >= 0 && row < static_cast<int>(choices.size()) ? &choices[static_cast<size_t>(row)] : nullptr;
    }
};

// Reads section "Object_" + the identifier (cut to 7 characters). Value rows
// are those of a mixed object (Typ 2) whose ValueList and ValueText hold the
// same number of items, not 0; with a ValueRangeCaption row 0 is a number
// field and the rows start at 1.
AnaOutObject LoadAnaOutObject(const IniFile &file, const QString &objectId);

// The object identifier of each analog output channel, as the parameter
// overview builds the channel records: slots in order, four channels per
// analog output module of the catalogue, a channel's first object taken from
// the module's list 0 followed by the channel's own list. Empty where no
// module or object is known.
std::array<QString, AnaOutChannels> AnaOutChannelObjects(const StationConfiguration &config,
                                                         const ModuleCatalogueTable &catalogue);
