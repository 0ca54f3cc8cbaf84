#include "parameters/CouplerBlock.h"

#include "app/Conversions.h"
#include "link/FrameWords.h"
#include "link/RegisterRequests.h"
#include "parameters/AnaIn32Frames.h"

#include <QStringList>

namespace
{

constexpr qint64 FirstRouteObject = 0x15502;
constexpr qint64 RouteObjectStep = 0x10000;
constexpr int DataOffset = 9;

quint16 wordOf(quint8 high, quint8 low)
{
    return static_cast<quint16>((high << 8) | low);
}

void putAddress(std::array<quint16, CouplerBlockRegisters> &words, int at, const IpAddress &a)
{
    words[static_cast<size_t>(at)] = wordOf(a[0], a[1]);
    words[static_cast<size_t>(at + 1)] = wordOf(a[2], a[3]);
}

IpAddress addressAt(const std::array<quint16, CouplerBlockRegisters> &words, int at)
{
    const quint16 first = words[static_cast<size_t>(at)];
    const quint16 second = words[static_cast<size_t>(at + 1)];
    return {static_cast<quint8>(first >> 8), static_cast<quint8>(first), static_cast<quint8>(second >> 8),
            static_cast<quint8>(second)};
}

int routeRegister(int route)
{
    return 4 + 7 * (route - 1);
}

quint8 octetOf(const QString &part)
{
    const std::optional<qint64> number = ParseUserInteger(part);
    return number ? static_cast<quint8>(*number & 0xFF) : 0;
}

} // namespace

int RouteOfObject(qint64 objectId)
{
    for (int r = 1; r <= CouplerRoutes; ++r)
        if (objectId == FirstRouteObject + RouteObjectStep * (r - 1))
            return r;
    return 0;
}

IpAddress ParseAddress(const QString &text)
{
    IpAddress address{};
    QString rest = text;
    for (int octet = 0; octet < 3; ++octet) {
        const int dot = rest.indexOf(QLatin1Char('.'));
        if (dot < 0) {
            address[static_cast<size_t>(octet)] = 0; // an empty part
            continue;
        }
        address[static_cast<size_t>(octet)] = octetOf(rest.left(dot));
        rest = rest.mid(dot + 1);
    }
    address[3] = octetOf(rest);
    return address;
}

std::optional<quint16> ParseMetric(const QString &text)
{
    const IntegerReading reading = ReadIntegerText(text, MetricMin, MetricMax);
    if (reading.kind != IntegerTextKind::Value)
        return std::nullopt;
    return static_cast<quint16>(reading.value);
}

std::array<quint16, CouplerBlockRegisters> CouplerBlockWords(const CouplerParameterBlock &block)
{
    std::array<quint16, CouplerBlockRegisters> words{};
    putAddress(words, 0, block.LocalIp);
    putAddress(words, 2, block.LocalMask);
    for (int r = 1; r <= CouplerRoutes; ++r) {
        const CouplerRoute &route = block.Routes[static_cast<size_t>(r - 1)];
        const int at = routeRegister(r);
        putAddress(words, at, route.Destination);
        putAddress(words, at + 2, route.NetMask);
        putAddress(words, at + 4, route.Gateway);
        words[static_cast<size_t>(at + 6)] = route.Metric;
    }
    return words;
}

CouplerParameterBlock CouplerBlockFromWords(const std::array<quint16, CouplerBlockRegisters> &words)
{
    CouplerParameterBlock block;
    block.LocalIp = addressAt(words, 0);
    block.LocalMask = addressAt(words, 2);
    for (int r = 1; r <= CouplerRoutes; ++r) {
        CouplerRoute &route = block.Routes[static_cast<size_t>(r - 1)];
        const int at = routeRegister(r);
        route.Destination = addressAt(words, at);
        route.NetMask = addressAt(words, at + 2);
        route.Gateway = addressAt(words, at + 4);
        route.Metric = words[static_cast<size_t>(at + 6)];
    }
    return block;
}

quint8 BuildCouplerReadRequest(ModbusBuffer &tx, quint8 unit)
{
    return BuildReadRegisters(tx, unit, CouplerBlockStart, CouplerBlockRegisters);
}

quint8 BuildCouplerWriteRequest(ModbusBuffer &tx, quint8 unit, const CouplerParameterBlock &block)
{
    const auto words = CouplerBlockWords(block);
    return BuildWriteRegisters(tx, unit, CouplerBlockStart, std::vector<quint16>(words.begin(), words.end()));
}

std::optional<CouplerParameterBlock> DecodeCouplerReply(const ModbusBuffer &rx, quint16 rxCount)
{
    if (ReplyDataBytes(rx, rxCount) < 2 * CouplerBlockRegisters)
        return std::nullopt;
    std::array<quint16, CouplerBlockRegisters> words{};
    for (int k = 0; k < CouplerBlockRegisters; ++k)
        words[static_cast<size_t>(k)] = Word16At(rx, DataOffset + 2 * k);
    return CouplerBlockFromWords(words);
}
