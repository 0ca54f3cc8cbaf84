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

// A field that converts as the user types sees more than finished numbers.
enum class IntegerTextKind {
    Value,      // a number within the field's range
    Incomplete, // on its way to a number: empty, a sign, "$" or "0x" alone
    Invalid,    // no number, nor the start of one
    OutOfRange, // a number the field cannot hold
};
struct IntegerReading {
    IntegerTextKind kind = IntegerTextKind::Invalid;
    qint64 value = 0; // the number for Value and OutOfRange
};
bool IsIncompleteIntegerText(const QString &text);
bool IsIncompleteHexText(const QString &text);
IntegerReading ReadIntegerText(const QString &text, qint64 min, qint64 max);
IntegerReading ReadHexText(const QString &text, qint64 min, qint64 max);
// "1 .. 255"
QString RangeText(qint64 min, qint64 max);
QString OutOfRangeText(const QString &text, const QString &range);
// The conversion error for a text that is not a Value.
QString IntegerReadingError(const QString &text, const IntegerReading &reading, qint64 min, qint64 max);

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
