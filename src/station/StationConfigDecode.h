#pragma once
// Turning the coupler's configuration replies into the station tables.
#include "app/StationTypes.h"

#include <QString>
#include <QStringList>

// Reply timer period of both requests of the configuration read.
inline int ConfigReplyPeriod(int responseInterval)
{
    return responseInterval + 500;
}

// Device identification (43/14, basic, from object 0) and the slot list
// (function 4, 14 registers from 0x1000) into tx from byte 6 on; each returns
// the length to hand to the transport.
quint8 BuildIdentityRequest(std::array<quint8, FrameBufferSize> &tx, quint8 unit);
quint8 BuildSlotListRequest(std::array<quint8, FrameBufferSize> &tx, quint8 unit);
constexpr quint16 SlotListRegister = 0x1000;
constexpr quint16 SlotListRegisters = 14;

struct DeviceIdentity {
    QString Manufacturer;
    QString Product;
    QString Version;
};

// Reads the three texts of a device identification reply. Lengths come from
// the reply itself; nothing is read at or beyond `rxCount`.
DeviceIdentity DecodeIdentity(const std::array<quint8, FrameBufferSize> &rx, int rxCount);

// The five channel counts and nine slot identifiers of a slot-list reply;
// registers that the reply does not hold read as 0.
void DecodeSlotList(const std::array<quint8, FrameBufferSize> &rx, int rxCount, StationConfiguration &config);

// AnaInFormat and TempChannelCount from the slot identifiers.
void DeriveAnalogTables(StationConfiguration &config);
// Number of slots holding a digital output module (1 or 7).
quint16 CountDigitalOutputModules(const StationConfiguration &config);

// Log lines of a reply: "  Data : " and "  XX" per byte, 16 bytes a line.
QStringList ReplyDataLines(const std::array<quint8, FrameBufferSize> &rx, int rxCount);

// "ADR: 08  Code: 04" after "Antwort : ".
QString ReplyHeaderText(const std::array<quint8, FrameBufferSize> &rx);

// File of the module's data sheet for a short name of the catalogue.
QString DataSheetPath(const QString &programFolder, quint8 brandMode, const QString &shortName);

// Text of the grid's row 1 for catalogue short name: first 6 characters or "----".
QString GridShortName(const QString &shortName);
