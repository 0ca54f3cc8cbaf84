#pragma once
// Text/number conversions as the user types them and as the windows show them.
#include <QString>
#include <optional>

class Deklarat;
class QLocale;

// Optional blanks and sign, then decimal digits, or hex digits after "$" or "0x".
std::optional<qint64> ParseUserInteger(const QString &text);
// Hex digits only (a field that is read as a hexadecimal number), optional blanks.
std::optional<qint64> ParseUserHex(const QString &text);

// The text of the platform's conversion error for a text that is not an integer.
QString InvalidIntegerText(const QString &text);

// Convert or report the conversion error; true on success. `value` is left
// unchanged on failure so the caller keeps its old value.
bool StrToIntReported(Deklarat &d, const QString &text, qint64 &value);
bool HexToIntReported(Deklarat &d, const QString &text, qint64 &value);

// General format, up to 15 significant digits, no trailing zeros, the decimal
// separator of the system locale.
QString FormatGeneralFloat(double value);
// The same with the decimal separator of the given locale.
QString FormatGeneralFloat(double value, const QLocale &locale);

// Upper-case hex with a fixed number of digits.
QString HexText(quint64 value, int digits);
