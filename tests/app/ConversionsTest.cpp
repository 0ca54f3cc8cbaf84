#include "app/Conversions.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <limits>

namespace
{

struct IntCase {
    const char *text;
    std::optional<qint64> value;
};

TEST(Conversions, UserIntegerText)
{
    const IntCase cases[] = {
        {"0", 0},
        {"100", 100},
        {"  42  ", 42},
        {"-7", -7},
        {"+7", 7},
        {"$1F", 31},
        {"$ff", 255},
        {"0x10", 16},
        {"0X10", 16},
        {"-$10", -16},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"abc", std::nullopt},
        {"12a", std::nullopt},
        {"1 2", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"1.5", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const IntCase &c : cases)
        EXPECT_EQ(ParseUserInteger(QString::fromLatin1(c.text)), c.value) << c.text;
}

// Texts that wrapped into range when the parser multiplied before its check,
// the limits of 64 bits and one past each, signs, prefixes and blanks.
TEST(Conversions, UserIntegerTextNeverWraps)
{
    const IntCase cases[] = {
        {"18446744073709551621", std::nullopt}, // 2^64 + 5: read as 5 once
        {"18446744073709551616", std::nullopt}, // 2^64
        {"36893488147419103232", std::nullopt}, // 2^65
        {"99999999999999999999", std::nullopt},
        {"9223372036854775807", std::numeric_limits<qint64>::max()},
        {"9223372036854775808", std::nullopt},
        {"-9223372036854775808", std::numeric_limits<qint64>::min()},
        {"-9223372036854775809", std::nullopt},
        {"+9223372036854775807", std::numeric_limits<qint64>::max()},
        {"$7FFFFFFFFFFFFFFF", std::numeric_limits<qint64>::max()},
        {"$8000000000000000", std::nullopt},
        {"-$8000000000000000", std::numeric_limits<qint64>::min()},
        {"-0x8000000000000001", std::nullopt},
        {"0x10000000000000005", std::nullopt}, // 2^68 + 5 in hex
        {"$FFFFFFFFFFFFFFFF", std::nullopt},
        {"000000000000000000000000000042", 42}, // leading zeros are no overflow
        {"  -0x7fffffffffffffff  ", -std::numeric_limits<qint64>::max()},
        {"-0", 0},
        {"2147483648", 2147483648LL},
        {"4294967396", 4294967396LL},
        {"- 5", std::nullopt},
        {"+-5", std::nullopt},
        {"0x-5", std::nullopt},
        {"$$1", std::nullopt},
    };
    for (const IntCase &c : cases)
        EXPECT_EQ(ParseUserInteger(QString::fromLatin1(c.text)), c.value) << c.text;
    EXPECT_EQ(ParseUserHex(QStringLiteral("10000000000000005")), std::nullopt);
    EXPECT_EQ(ParseUserHex(QStringLiteral("7FFFFFFFFFFFFFFF")), std::numeric_limits<qint64>::max());
}

TEST(Conversions, FieldReadingTellsIncompleteFromInvalidAndOutOfRange)
{
    using K = IntegerTextKind;
    struct Case {
        const char *text;
        qint64 min, max;
        K kind;
        qint64 value;
    };
    const Case cases[] = {
        {"", 1, 60000, K::Incomplete, 0},
        {"  ", 1, 60000, K::Incomplete, 0},
        {"-", -100, 100, K::Incomplete, 0},
        {"+", -100, 100, K::Incomplete, 0},
        {"0x", 1, 60000, K::Incomplete, 0},
        {"0X", 1, 60000, K::Incomplete, 0},
        {"$", 1, 60000, K::Incomplete, 0},
        {"-$", -100, 100, K::Incomplete, 0},
        {"-0x", -100, 100, K::Incomplete, 0},
        {"abc", 1, 60000, K::Invalid, 0},
        {"1.5", 1, 60000, K::Invalid, 0},
        {"12x", 1, 60000, K::Invalid, 0},
        {"1", 1, 60000, K::Value, 1},
        {"60000", 1, 60000, K::Value, 60000},
        {"0", 1, 60000, K::OutOfRange, 0},
        {"60001", 1, 60000, K::OutOfRange, 60001},
        {"-1", 1, 60000, K::OutOfRange, -1},
        {"0x10", 1, 60000, K::Value, 16},
        {"999999999", 1, 60000, K::OutOfRange, 999999999},
        {"99999999999", 1, 60000, K::OutOfRange, 99999999999LL},
        {"4294967396", 1, 60000, K::OutOfRange, 4294967396LL},
        {"99999999999999999999", 1, 60000, K::Invalid, 0}, // beyond 64 bits: no number at all
        {"-32768", -32768, 65535, K::Value, -32768},
        {"65535", -32768, 65535, K::Value, 65535},
        {"70000", -32768, 65535, K::OutOfRange, 70000},
    };
    for (const Case &c : cases) {
        const IntegerReading r = ReadIntegerText(QString::fromLatin1(c.text), c.min, c.max);
        EXPECT_EQ(r.kind, c.kind) << c.text;
        if (c.kind == K::Value || c.kind == K::OutOfRange) {
            EXPECT_EQ(r.value, c.value) << c.text;
        }
    }
    // The hex field of the unit identifier.
    EXPECT_EQ(ReadHexText(QStringLiteral("F7"), 1, 0xF7).kind, K::Value);
    EXPECT_EQ(ReadHexText(QStringLiteral("F8"), 1, 0xF7).kind, K::OutOfRange);
    EXPECT_EQ(ReadHexText(QStringLiteral("00"), 1, 0xF7).kind, K::OutOfRange);
    EXPECT_EQ(ReadHexText(QStringLiteral("100"), 1, 0xF7).kind, K::OutOfRange);
    EXPECT_EQ(ReadHexText(QString(), 1, 0xF7).kind, K::Incomplete);
    EXPECT_EQ(ReadHexText(QStringLiteral("0x"), 1, 0xF7).kind, K::Incomplete);
    EXPECT_EQ(ReadHexText(QStringLiteral("-1"), 1, 0xF7).kind, K::Invalid);
    EXPECT_EQ(ReadHexText(QStringLiteral("g"), 1, 0xF7).kind, K::Invalid);

    EXPECT_EQ(IntegerReadingError(QStringLiteral("0"), ReadIntegerText(QStringLiteral("0"), 1, 60000), 1, 60000),
              QStringLiteral("'0' is not within 1 .. 60000"));
    EXPECT_EQ(IntegerReadingError(QStringLiteral("-"), ReadIntegerText(QStringLiteral("-"), 1, 60000), 1, 60000),
              InvalidIntegerText(QStringLiteral("-")));
}

TEST(Conversions, HexFieldText)
{
    const IntCase cases[] = {
        {"08", 8},   {"10", 16},         {"ff", 255},          {"FF", 255},          {" 1A ", 26},
        {"$20", 32}, {"", std::nullopt}, {"g1", std::nullopt}, {"-1", std::nullopt},
    };
    for (const IntCase &c : cases)
        EXPECT_EQ(ParseUserHex(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(Conversions, GeneralFloatUsesSystemSeparatorAndShortestForm)
{
    const QString sep = QLocale::system().decimalPoint();
    const std::pair<double, QString> cases[] = {
        {12.345, QStringLiteral("12") + sep + QStringLiteral("345")},
        {7, QStringLiteral("7")},
        {0.5, QStringLiteral("0") + sep + QStringLiteral("5")},
        {100000, QStringLiteral("100000")},
        {86399.999, QStringLiteral("86399") + sep + QStringLiteral("999")},
    };
    for (const auto &[value, text] : cases)
        EXPECT_EQ(FormatGeneralFloat(value), text) << value;
}

TEST(Conversions, HexTextIsUpperCaseAndPadded)
{
    EXPECT_EQ(HexText(8, 2), QStringLiteral("08"));
    EXPECT_EQ(HexText(0xAB, 2), QStringLiteral("AB"));
    EXPECT_EQ(HexText(0x1A2B, 4), QStringLiteral("1A2B"));
}

} // namespace
