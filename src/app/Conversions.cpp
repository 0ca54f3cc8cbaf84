#include "app/Conversions.h"

#include "app/Messages.h"

#include <QLocale>

namespace {

std::optional<qint64> parseDigits(QStringView digits, int base, bool negative)
{
    if (digits.isEmpty())
        return std::nullopt;
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
        value = value * base + v;
        if (value > 0x7FFFFFFFFFFFFFFFull)
            return std::nullopt;
    }
    qint64 result = static_cast<qint64>(value);
    return negative ? -result : result;
}

} // namespace

std::optional<qint64> ParseUserInteger(const QString &text)
{
    QStringView s = QStringView(text).trimmed();
    bool negative = false;
    if (!s.isEmpty() && (s.front() == u'-' || s.front() == u'+')) {
        negative = s.front() == u'-';
        s = s.mid(1);
    }
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
