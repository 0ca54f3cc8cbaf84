#include "process/ValueLog.h"
#include "monitor/MonitorLines.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

namespace
{

TEST(ValueLogLine, FieldsInGermanAndEnglish)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    struct Case {
        const char *name;
        double seconds;
        std::vector<qint32> analog;
        std::vector<quint8> digital;
        const char *german;
        const char *english;
    };
    const Case cases[] = {
        {"two_analog_twelve_digital", 2.5, {100, -5}, {0x05, 0x0F}, "2,5;100;-5;5;15;", "2.5;100;-5;5;15;"},
        {"no_digital_inputs", 3, {7, -2147483647 - 1}, {}, "3;7;-2147483648;", "3;7;-2147483648;"},
        {"only_digital_inputs", 12.345, {}, {255}, "12,345;255;", "12.345;255;"},
        {"whole_seconds_without_decimals", 86405, {0}, {0}, "86405;0;0;", "86405;0;0;"},
        {"fifteen_digits", 1234.56789012345, {}, {}, "1234,56789012345;", "1234.56789012345;"},
    };
    for (const Case &c : cases) {
        const int n = static_cast<int>(c.analog.size());
        const int dn = static_cast<int>(c.digital.size());
        EXPECT_EQ(ValueLogLine(c.seconds, c.analog.data(), n, c.digital.data(), dn, german),
                  QString::fromUtf8(c.german))
            << c.name;
        EXPECT_EQ(ValueLogLine(c.seconds, c.analog.data(), n, c.digital.data(), dn, english),
                  QString::fromUtf8(c.english))
            << c.name;
    }
}

TEST(ValueLogLine, SecondsKeepGrowingPastMidnight)
{
    // Started at 23:59:59.5, logging at 00:00:02 the next day.
    const QDateTime start(QDate(2026, 3, 1), QTime(23, 59, 59, 500));
    const QDateTime now(QDate(2026, 3, 2), QTime(0, 0, 2, 0));
    const qint32 value = 1;
    EXPECT_EQ(ValueLogLine(MonitorSeconds(start, now), &value, 1, nullptr, 0, QLocale(QLocale::German)),
              QStringLiteral("2,5;1;"));
}

TEST(SaveInterval, RangeRuleOnTheLowSixteenBits)
{
    const std::pair<qint64, int> cases[] = {
        {50, 1000}, {99, 1000},   {100, 100},         {250, 250}, {5000, 5000},          {5001, 1000},
        {0, 1000},  {65636, 100}, {65536 + 300, 300}, {-1, 1000}, {-65536 + 2000, 2000},
    };
    for (const auto &[value, interval] : cases)
        EXPECT_EQ(SaveIntervalFor(value), interval) << value;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(ValueLogFile, LinesEndInCrLfAndAreOnDiskAtOnce)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data_log.csv"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older recording\r\n");
    }
    ValueLogFile log;
    QString error;
    ASSERT_TRUE(log.create(path, &error)) << error.toStdString();
    EXPECT_EQ(contents(path), QByteArray()); // replaced
    ASSERT_TRUE(log.writeLine(QStringLiteral("1;2;"), &error));
    EXPECT_EQ(contents(path), QByteArray("1;2;\r\n")); // read back while still open
    ASSERT_TRUE(log.writeLine(QStringLiteral("3;"), &error));
    EXPECT_EQ(contents(path), QByteArray("1;2;\r\n3;\r\n"));
    log.close();
    EXPECT_FALSE(log.isOpen());
}

TEST(ValueLogFile, FailuresCarryTheSystemReason)
{
    QTemporaryDir dir;
    ValueLogFile log;
    QString error;
    // A folder where the file should be cannot be opened as a file.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("data_log.csv")));
    EXPECT_FALSE(log.create(dir.filePath(QStringLiteral("data_log.csv")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(log.isOpen());

    // A full disk: opening works, writing does not.
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    error.clear();
    ASSERT_TRUE(log.create(QStringLiteral("/dev/full"), &error));
    EXPECT_FALSE(log.writeLine(QStringLiteral("1;"), &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
