#include "app/Conversions.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

struct IntCase {
    const char *text;
    std::optional<qint64> value;
};

TEST(Conversions, UserIntegerText)
{
    const IntCase cases[] = {
        {"0", 0},        {"100", 100},     {"  42  ", 42},     {"-7", -7},      {"+7", 7},
        {"$1F", 31},     {"$ff", 255},     {"0x10", 16},       {"0X10", 16},    {"-$10", -16},
        {"", std::nullopt},   {"   ", std::nullopt}, {"abc", std::nullopt}, {"12a", std::nullopt},
        {"1 2", std::nullopt}, {"$", std::nullopt},  {"0x", std::nullopt},  {"1.5", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const IntCase &c : cases)
        EXPECT_EQ(ParseUserInteger(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(Conversions, HexFieldText)
{
    const IntCase cases[] = {
        {"08", 8}, {"10", 16}, {"ff", 255}, {"FF", 255}, {" 1A ", 26}, {"$20", 32},
        {"", std::nullopt}, {"g1", std::nullopt}, {"-1", std::nullopt},
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
