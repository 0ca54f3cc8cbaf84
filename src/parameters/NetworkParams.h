#pragma once
// The coupler's communication parameters as the general parameter window
// edits them. Over Ethernet: 39 registers from 0x3000 with the coupler's own
// address and mask and five routes; over the serial line: one time value at
// 0x3000 in steps of 0.000521 s. Writing 0xFFFF to 0x3027 resets the
// coupler's communication settings.
#include "link/ModbusFrame.h"

#include <QLocale>
#include <QString>
#include <array>
#include <optional>
#include <vector>

constexpr quint16 NetworkStartRegister = 0x3000;
constexpr int NetworkRegisters = 39;
constexpr int NetworkRoutes = 5;
constexpr quint16 CommResetRegister = 0x3027;
constexpr quint16 CommResetValue = 0xFFFF;
constexpr quint16 SerialTimeRegister = 0x3000;

// Four octets, first octet first.
using IpOctets = std::array<quint8, 4>;

struct NetworkRoute {
    IpOctets destination{};
    IpOctets mask{};
    IpOctets gateway{};
    quint16 metric = 0;
};

struct NetworkBlock {
    IpOctets localAddress{};
    IpOctets localMask{};
    std::array<NetworkRoute, NetworkRoutes> routes{};
};

// The octets of an address as the user typed it: the text before the first
// ".", before the second, before the third, then the whole rest. A part that
// is no number gives 0; each octet keeps the low 8 bits ("300.1.2.3" gives
// 44.1.2.3, "10.1" gives 10.0.0.1).
IpOctets AddressOctets(const QString &text);
// Four decimal numbers joined by ".".
QString AddressText(const IpOctets &octets);

// The 39 registers in the coupler's order: local address, local mask, then
// per route destination, mask, gateway and metric.
std::vector<quint16> NetworkBlockWords(const NetworkBlock &block);
// The block from 39 registers in that order (missing registers read as 0).
NetworkBlock NetworkBlockOfWords(const std::vector<quint16> &words);

// Unit id, 0x04, 0x30, 0x00, 0x00, 39; returns 12.
quint8 BuildNetworkReadRequest(ModbusBuffer &tx, quint8 unit);
// Unit id, 0x10, 0x30, 0x00, 0x00, 39, 78, then the block; returns 91.
quint8 BuildNetworkWriteRequest(ModbusBuffer &tx, quint8 unit, const NetworkBlock &block);
// Unit id, 0x04, 0x30, 0x00, 0x00, 0x01; returns 12.
quint8 BuildSerialTimeReadRequest(ModbusBuffer &tx, quint8 unit);
// Unit id, 0x06, 0x30, 0x00, then the value; returns 12.
quint8 BuildSerialTimeWriteRequest(ModbusBuffer &tx, quint8 unit, quint16 raw);
// Unit id, 0x06, 0x30, 0x27, 0xFF, 0xFF; returns 12.
quint8 BuildCommResetRequest(ModbusBuffer &tx, quint8 unit);

// The block from rx[9] on; false when the reply does not hold all 78 bytes.
bool DecodeNetworkReply(const ModbusBuffer &rx, quint16 rxCount, NetworkBlock &block);
// The time value rx[9] x 256 + rx[10]; false when the reply does not hold it.
bool DecodeSerialTimeReply(const ModbusBuffer &rx, quint16 rxCount, quint16 &raw);

// Serial time in seconds: raw x 0.000521; 65535 is 34.143735 s.
constexpr double SerialTimeStep = 0.000521;
constexpr double SerialTimeLimit = 34.143735;
QString SerialSecondsText(quint16 raw, const QLocale &locale);

// A decimal number with the locale's decimal separator: optional blanks and
// sign, digits with at most one separator, an optional exponent.
std::optional<double> ParseLocaleFloat(const QString &text, const QLocale &locale);
// The text of the platform's conversion error for a text that is not a number.
QString InvalidFloatText(const QString &text);

// What a text typed as seconds means for the time value.
struct SerialSeconds {
    enum Kind { NotANumber, TooLarge, Negative, Taken };
    Kind kind = NotANumber;
    quint16 raw = 0; // for Taken: the nearest whole number of steps
};
SerialSeconds SerialSecondsOf(const QString &text, const QLocale &locale);
