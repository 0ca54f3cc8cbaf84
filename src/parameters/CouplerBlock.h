#pragma once
// The coupler's network parameter block as the coupler parameter editor
// edits it: 39 registers from 0x3000 (own address, own mask, five routes of
// destination, net mask, gateway and metric), read with function code 4 and
// written with function code 16; and the address texts of its fields.
#include "link/ModbusFrame.h"
#include "parameters/NetworkParams.h"

#include <QString>
#include <array>
#include <optional>

constexpr quint16 CouplerBlockStart = 0x3000;
constexpr int CouplerBlockRegisters = 39;
constexpr int CouplerRoutes = 5;

using IpAddress = std::array<quint8, 4>; // first octet first

struct CouplerRoute {
    IpAddress Destination{};
    IpAddress NetMask{};
    IpAddress Gateway{};
    quint16 Metric = 0;
    bool operator==(const CouplerRoute &) const = default;
};

struct CouplerParameterBlock {
    IpAddress LocalIp{};
    IpAddress LocalMask{};
    std::array<CouplerRoute, CouplerRoutes> Routes{}; // route r is element r - 1
    bool operator==(const CouplerParameterBlock &) const = default;
};

// The identifiers of the block's objects: 0x5500 own address, 0x5501 own
// mask, 0x15502 + 0x10000 x (r - 1) route r.
constexpr qint64 LocalIpObject = 0x5500;
constexpr qint64 LocalMaskObject = 0x5501;
// Route 1..5 of an object identifier; 0 for any other identifier.
int RouteOfObject(qint64 objectId);

// AddressText (four octets in decimal, separated by ".") is in NetworkParams.h.
// Octets 1 to 3 are each the text before the next "." (empty when there is
// none left), octet 4 the rest; a part that is no integer counts as 0, every
// number is taken modulo 256.
IpAddress ParseAddress(const QString &text);
// A metric is one unsigned register: a number beyond it is refused, not
// wrapped into another route cost.
constexpr qint64 MetricMin = 0;
constexpr qint64 MetricMax = 65535;
// The metric an integer text stands for; nothing for a text that is no
// integer or lies outside 0..65535.
std::optional<quint16> ParseMetric(const QString &text);

// The 39 registers in block order.
std::array<quint16, CouplerBlockRegisters> CouplerBlockWords(const CouplerParameterBlock &block);
CouplerParameterBlock CouplerBlockFromWords(const std::array<quint16, CouplerBlockRegisters> &words);

// Unit, 0x04, 0x30 0x00, 0x00 0x27; returns 12.
quint8 BuildCouplerReadRequest(ModbusBuffer &tx, quint8 unit);
// Unit, 0x10, 0x30 0x00, 0x00 0x27, 78, then the block; returns 91.
quint8 BuildCouplerWriteRequest(ModbusBuffer &tx, quint8 unit, const CouplerParameterBlock &block);
// The 78 data bytes from rx[9] on; nothing when the reply holds fewer.
std::optional<CouplerParameterBlock> DecodeCouplerReply(const ModbusBuffer &rx, quint16 rxCount);
