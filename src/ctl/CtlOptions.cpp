#include "ctl/CtlOptions.h"

#include "link/InterfaceSettings.h"

#include <algorithm>

namespace
{

bool allDigits(const QString &text, int base)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        const bool digit = c.isDigit() && c.unicode() < 128;
        const bool hex = base == 16 && QStringLiteral("abcdefABCDEF").contains(c);
        if (!digit && !hex)
            return false;
    }
    return true;
}

} // namespace

std::optional<int> ParseDecimal(const QString &text, int min, int max)
{
    // Long runs of digits would overflow before the range check.
    if (!allDigits(text, 10) || text.size() > 9)
        return std::nullopt;
    const int value = text.toInt();
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<int> ParseNumber(const QString &text, int min, int max)
{
    if (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X"))) {
        const QString digits = text.mid(2);
        if (!allDigits(digits, 16) || digits.size() > 7)
            return std::nullopt;
        const int value = digits.toInt(nullptr, 16);
        if (value < min || value > max)
            return std::nullopt;
        return value;
    }
    return ParseDecimal(text, min, max);
}

std::optional<LinkChoice> ParseTcpLink(const QString &text)
{
    LinkChoice link;
    link.kind = LinkChoice::Kind::Tcp;
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    link.host = colon < 0 ? text : text.left(colon);
    if (link.host.isEmpty())
        return std::nullopt;
    if (colon >= 0) {
        const std::optional<int> port = ParseDecimal(text.mid(colon + 1), 1, 65535);
        if (!port)
            return std::nullopt;
        link.port = static_cast<quint16>(*port);
    }
    return link;
}

std::optional<LinkChoice> ParseSerialLink(const QString &text)
{
    LinkChoice link;
    link.kind = LinkChoice::Kind::Serial;
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() > 3 || parts[0].isEmpty())
        return std::nullopt;
    link.device = parts[0];
    if (parts.size() > 1) {
        const std::optional<int> baud = ParseDecimal(parts[1], 600, 38400);
        if (!baud || std::find(BaudRates.begin(), BaudRates.end(), *baud) == BaudRates.end())
            return std::nullopt;
        link.baud = *baud;
    }
    if (parts.size() > 2) {
        const std::optional<int> frame = ParseDecimal(parts[2], 1, 4);
        if (!frame)
            return std::nullopt;
        link.frame = *frame;
    }
    return link;
}

ParsedOptions ParseCtlOptions(const QStringList &words)
{
    ParsedOptions parsed;
    CtlOptions &o = parsed.options;
    bool linkGiven = false;
    for (int i = 0; i < words.size(); ++i) {
        const QString &word = words[i];
        // The option's value: the next word, which must be there.
        auto value = [&](QString &out) {
            if (i + 1 >= words.size()) {
                parsed.error = QStringLiteral("%1 needs a value").arg(word);
                return false;
            }
            out = words[++i];
            return true;
        };
        QString text;
        if (word == QLatin1String("--tcp") || word == QLatin1String("--serial")) {
            if (!value(text))
                return parsed;
            const bool tcp = word == QLatin1String("--tcp");
            const std::optional<LinkChoice> link = tcp ? ParseTcpLink(text) : ParseSerialLink(text);
            if (!link) {
                parsed.error = tcp ? QStringLiteral("bad --tcp %1 (HOST[:PORT])").arg(text)
                                   : QStringLiteral("bad --serial %1 (DEVICE[:BAUD[:FRAME]], BAUD one of "
                                                    "600 1200 2400 4800 9600 19200 38400, FRAME 1..4)")
                                         .arg(text);
                return parsed;
            }
            if (linkGiven) {
                parsed.error = QStringLiteral("only one of --tcp and --serial");
                return parsed;
            }
            linkGiven = true;
            o.link = *link;
        } else if (word == QLatin1String("--unit")) {
            if (!value(text))
                return parsed;
            o.unit = ParseDecimal(text, 1, 247);
            if (!o.unit) {
                parsed.error = QStringLiteral("bad --unit %1 (decimal 1..247)").arg(text);
                return parsed;
            }
        } else if (word == QLatin1String("--lang")) {
            if (!value(text))
                return parsed;
            if (text != QLatin1String("de") && text != QLatin1String("en")) {
                parsed.error = QStringLiteral("bad --lang %1 (de or en)").arg(text);
                return parsed;
            }
            o.language = text == QLatin1String("en") ? 1 : 0;
        } else if (word == QLatin1String("--json")) {
            o.json = true;
        } else if (word == QLatin1String("--yes")) {
            o.yes = true;
        } else if (word == QLatin1String("--help") || word == QLatin1String("-h")) {
            o.help = true;
        } else if (word == QLatin1String("--version")) {
            o.version = true;
        } else if (o.verb.isEmpty()) {
            if (word.startsWith(QLatin1Char('-'))) {
                parsed.error = QStringLiteral("unknown option %1").arg(word);
                return parsed;
            }
            o.verb = word;
        } else {
            o.arguments << word;
        }
    }
    if (o.verb.isEmpty() && !o.help && !o.version)
        parsed.error = QStringLiteral("no verb given");
    return parsed;
}
