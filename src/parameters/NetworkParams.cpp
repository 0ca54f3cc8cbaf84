#include "parameters/NetworkParams.h"

#include "link/FrameWords.h"
#include "link/RegisterRequests.h"
#include "parameters/AnaIn32Frames.h"
#include "parameters/AnaIn32Params.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int DataOffset = 9;

quint8 octetOf(const QString &part)
{
    // A part that is not a number counts as 0, as an empty one does.
    return static_cast<quint8>(ParseInt32(part).value_or(0) & 0xFF);
}

void putAddress(std::vector<quint16> &words, const IpOctets &a)
{
    words.push_back(static_cast<quint16>(a[0] << 8 | a[1]));
    words.push_back(static_cast<quint16>(a[2] << 8 | a[3]));
}

IpOctets takeAddress(const std::vector<quint16> &words, size_t &at)
{
    auto word = [&words](size_t i) { return i < words.size() ? words[i] : quint16(0); };
    const quint16 high = word(at);
    const quint16 low = word(at + 1);
    at += 2;
    return {static_cast<quint8>(high >> 8), static_cast<quint8>(high), static_cast<quint8>(low >> 8),
            static_cast<quint8>(low)};
}

} // namespace

IpOctets AddressOctets(const QString &text)
{
    QString rest = text;
    IpOctets octets{};
    for (size_t i = 0; i < 3; ++i) {
        // Without a dot the part is empty and nothing is removed.
        const qsizetype dot = rest.indexOf(QLatin1Char('.'));
        octets[i] = octetOf(dot < 0 ? QString() : rest.left(dot));
        if (dot >= 0)
            rest.remove(0, dot + 1);
    }
    octets[3] = octetOf(rest);
    return octets;
}

QString AddressText(const IpOctets &octets)
{
    return QStringLiteral("%1.%2.%3.%4").arg(octets[0]).arg(octets[1]).arg(octets[2]).arg(octets[3]);
}

std::vector<quint16> NetworkBlockWords(const NetworkBlock &block)
{
    std::vector<quint16> words;
    words.reserve(NetworkRegisters);
    putAddress(words, block.localAddress);
    putAddress(words, block.localMask);
    for (const NetworkRoute &r : block.routes) {
        putAddress(words, r.destination);
        putAddress(words, r.mask);
        putAddress(words, r.gateway);
        words.push_back(r.metric);
    }
    return words;
}

NetworkBlock NetworkBlockOfWords(const std::vector<quint16> &words)
{
    NetworkBlock block;
    size_t at = 0;
    block.localAddress = takeAddress(words, at);
    block.localMask = takeAddress(words, at);
    for (NetworkRoute &r : block.routes) {
        r.destination = takeAddress(words, at);
        r.mask = takeAddress(words, at);
        r.gateway = takeAddress(words, at);
        r.metric = at < words.size() ? words[at] : 0;
        ++at;
    }
    return block;
}

quint8 BuildNetworkReadRequest(ModbusBuffer &tx, quint8 unit)
{
    return BuildReadRegisters(tx, unit, NetworkStartRegister, NetworkRegisters);
}

quint8 BuildNetworkWriteRequest(ModbusBuffer &tx, quint8 unit, const NetworkBlock &block)
{
    return BuildWriteRegisters(tx, unit, NetworkStartRegister, NetworkBlockWords(block));
}

quint8 BuildSerialTimeReadRequest(ModbusBuffer &tx, quint8 unit)
{
    return BuildReadRegisters(tx, unit, SerialTimeRegister, 1);
}

quint8 BuildSerialTimeWriteRequest(ModbusBuffer &tx, quint8 unit, quint16 raw)
{
    return BuildWriteSingleRegister(tx, unit, SerialTimeRegister, raw);
}

quint8 BuildCommResetRequest(ModbusBuffer &tx, quint8 unit)
{
    return BuildWriteSingleRegister(tx, unit, CommResetRegister, CommResetValue);
}

bool DecodeNetworkReply(const ModbusBuffer &rx, quint16 rxCount, NetworkBlock &block)
{
    if (ReplyDataBytes(rx, rxCount) < 2 * NetworkRegisters)
        return false;
    std::vector<quint16> words;
    for (int i = 0; i < NetworkRegisters; ++i)
        words.push_back(Word16At(rx, DataOffset + 2 * i));
    block = NetworkBlockOfWords(words);
    return true;
}

bool DecodeSerialTimeReply(const ModbusBuffer &rx, quint16 rxCount, quint16 &raw)
{
    if (ReplyDataBytes(rx, rxCount) < 2)
        return false;
    raw = Word16At(rx, DataOffset);
    return true;
}

QString SerialSecondsText(quint16 raw, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(raw * SerialTimeStep, 'g', 15);
}

std::optional<double> ParseLocaleFloat(const QString &text, const QLocale &locale)
{
    const QString separator = locale.decimalPoint();
    const QString t = text.trimmed();
    // Rewritten into the C locale's spelling, then converted.
    QString plain;
    qsizetype i = 0;
    auto digits = [&] {
        const qsizetype from = i;
        while (i < t.size() && t.at(i) >= u'0' && t.at(i) <= u'9')
            plain += t.at(i++);
        return i - from;
    };
    if (i < t.size() && (t.at(i) == u'+' || t.at(i) == u'-'))
        plain += t.at(i++);
    qsizetype mantissa = digits();
    if (!separator.isEmpty() && QStringView(t).mid(i).startsWith(separator)) {
        i += separator.size();
        plain += QLatin1Char('.');
        mantissa += digits();
    }
    if (mantissa == 0)
        return std::nullopt;
    if (i < t.size() && (t.at(i) == u'e' || t.at(i) == u'E')) {
        plain += QLatin1Char('e');
        ++i;
        if (i < t.size() && (t.at(i) == u'+' || t.at(i) == u'-'))
            plain += t.at(i++);
        if (digits() == 0)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    // Beyond the range of a double counts as infinitely large, not as no number.
    if (!ok && !std::isinf(value))
        return std::nullopt;
    return value;
}

QString InvalidFloatText(const QString &text)
{
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

SerialSeconds SerialSecondsOf(const QString &text, const QLocale &locale)
{
    SerialSeconds s;
    const std::optional<double> seconds = ParseLocaleFloat(text, locale);
    if (!seconds)
        return s;
    if (*seconds > SerialTimeLimit) {
        s.kind = SerialSeconds::TooLarge;
        return s;
    }
    // A negative time would wrap round to a long one.
    const double steps = std::round(*seconds / SerialTimeStep);
    if (steps < 0) {
        s.kind = SerialSeconds::Negative;
        return s;
    }
    s.kind = SerialSeconds::Taken;
    s.raw = static_cast<quint16>(std::min(steps, 65535.0));
    return s;
}
