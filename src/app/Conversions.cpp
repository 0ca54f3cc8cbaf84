#include "app/Conversions.h"

#include "app/Messages.h"

#include <QLocale>

#include <limits>

namespace
{

std::optional<qint64> parseDigits(QStringView digits, int base, bool negative)
{
    if (digits.isEmpty())
        return std::nullopt;
    // The magnitude allowed: one more below zero than above it.
    const quint64 limit = negative ? 0x8000000000000000ull : 0x7FFFFFFFFFFFFFFFull;
    quint64 value = 0;
    for (QChar c : digits) {
        int v = -1;
        if (c >= u'0' && c <= u'9')
            v = c.unicode() - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            v = c.unicode() - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            v = c.unicode() - u'A' + 10;
        if (v < 0)
            return std::nullopt;
        // Checked before the step, so a long text cannot wrap into range.
        if (value > (limit - static_cast<quint64>(v)) / static_cast<quint64>(base))
            return std::nullopt;
        value = value * static_cast<quint64>(base) + static_cast<quint64>(v);
    }
    if (negative)
        return value == 0x8000000000000000ull ? std::numeric_limits<qint64>::min() : -static_cast<qint64>(value);
    return static_cast<qint64>(value);
}

// What is left of a text after its blanks and sign.
QStringView unsignedPart(const QString &text, bool *negative = nullptr)
{
    QStringView s = QStringView(text).trimmed();
    bool minus = false;
    if (!s.isEmpty() && (s.front() == u'-' || s.front() == u'+')) {
        minus = s.front() == u'-';
        s = s.mid(1);
    }
    if (negative)
        *negative = minus;
    return s;
}

bool isBarePrefix(QStringView s)
{
    return s.isEmpty() || s == u"$" || s.compare(u"0x", Qt::CaseInsensitive) == 0;
}

IntegerReading classify(const std::optional<qint64> &parsed, bool incomplete, qint64 min, qint64 max)
{
    if (parsed)
        return {*parsed >= min && *parsed <= max ? IntegerTextKind::Value : IntegerTextKind::OutOfRange, *parsed};
    return {incomplete ? IntegerTextKind::Incomplete : IntegerTextKind::Invalid, 0};
}

} // namespace

std::optional<qint64> ParseUserInteger(const QString &text)
{
    bool negative = false;
    const QStringView s = unsignedPart(text, &negative);
    if (s.startsWith(u'$'))
        return parseDigits(s.mid(1), 16, negative);
    if (s.startsWith(u"0x", Qt::CaseInsensitive))
        return parseDigits(s.mid(2), 16, negative);
    return parseDigits(s, 10, negative);
}

std::optional<qint64> ParseUserHex(const QString &text)
{
    QStringView s = QStringView(text).trimmed();
    if (s.startsWith(u'$'))
        s = s.mid(1);
    else if (s.startsWith(u"0x", Qt::CaseInsensitive))
        s = s.mid(2);
    return parseDigits(s, 16, false);
}

bool IsIncompleteIntegerText(const QString &text)
{
    return isBarePrefix(unsignedPart(text));
}

bool IsIncompleteHexText(const QString &text)
{
    return isBarePrefix(QStringView(text).trimmed());
}

IntegerReading ReadIntegerText(const QString &text, qint64 min, qint64 max)
{
    return classify(ParseUserInteger(text), IsIncompleteIntegerText(text), min, max);
}

IntegerReading ReadHexText(const QString &text, qint64 min, qint64 max)
{
    return classify(ParseUserHex(text), IsIncompleteHexText(text), min, max);
}

QString RangeText(qint64 min, qint64 max)
{
    return QStringLiteral("%1 .. %2").arg(min).arg(max);
}

QString OutOfRangeText(const QString &text, const QString &range)
{
    return QStringLiteral("'%1' is not within %2").arg(text, range);
}

QString IntegerReadingError(const QString &text, const IntegerReading &reading, qint64 min, qint64 max)
{
    if (reading.kind == IntegerTextKind::OutOfRange)
        return OutOfRangeText(text, RangeText(min, max));
    return InvalidIntegerText(text);
}

QString InvalidIntegerText(const QString &text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

bool StrToIntReported(Deklarat &d, const QString &text, qint64 &value)
{
    const auto parsed = ParseUserInteger(text);
    if (!parsed) {
        ReportConversionError(d, InvalidIntegerText(text));
        return false;
    }
    value = *parsed;
    return true;
}

bool HexToIntReported(Deklarat &d, const QString &text, qint64 &value)
{
    const auto parsed = ParseUserHex(text);
    if (!parsed) {
        ReportConversionError(d, InvalidIntegerText(QStringLiteral("$") + text));
        return false;
    }
    value = *parsed;
    return true;
}

QString FormatGeneralFloat(double value)
{
    return FormatGeneralFloat(value, QLocale::system());
}

QString FormatGeneralFloat(double value, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(value, 'g', 15);
}

QString HexText(quint64 value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}
