#include "app/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>
#include <optional>

namespace
{

class IniFileTest : public ::testing::Test
{
protected:
    QString write(const QByteArray &bytes, const QString &name = QStringLiteral("Modbus.ini"))
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

const QByteArray Sample = "; settings written by hand\n"
                          "orphan=outside every section\n"
                          "[Schnittstelle]\n"
                          "Port=2\n"
                          "  baud =  6  \n"
                          ";Frame=9\n"
                          "Frame=3\n"
                          "FRAME=1\n"
                          "Empty=\n"
                          "NoEquals\n"
                          "EthAdresse= 192.168.0.1 \n"
                          "Quoted=\"a b\",c\n"
                          "\n"
                          "[ slave ]\n"
                          "Adresse=8\n"
                          "[Numbers]\n"
                          "Negative=-5\n"
                          "Plus=+7\n"
                          "Hex=0x10\n"
                          "Text=abc\n"
                          "Trailing=12abc\n"
                          "Fraction=1.5\n"
                          "TooBig=2147483648\n"
                          "Smallest=-2147483648\n"
                          "Zero=0\n"
                          "Five=5\n"
                          "[Schnittstelle]\n"
                          "Port=9\n"
                          "Extra=7\n";

TEST_F(IniFileTest, ReadsTextsWithProfileRules)
{
    const IniFile ini(write(Sample));
    const struct {
        const char *section;
        const char *key;
        std::optional<QString> value; // nullopt: the default comes back
    } cases[] = {
        {"Schnittstelle", "Port", QStringLiteral("2")},
        {"SCHNITTSTELLE", "port", QStringLiteral("2")},
        {"schnittstelle", "BAUD", QStringLiteral("6")},
        {"Schnittstelle", "Frame", QStringLiteral("3")},
        {"Schnittstelle", "Empty", QString()},
        {"Schnittstelle", "EthAdresse", QStringLiteral("192.168.0.1")},
        {"Schnittstelle", "Quoted", QStringLiteral("\"a b\",c")},
        {"Schnittstelle", "NoEquals", std::nullopt},
        {"Schnittstelle", ";Frame", std::nullopt},
        {"Schnittstelle", "orphan", std::nullopt},
        {"Schnittstelle", "Extra", std::nullopt},
        {"Slave", "Adresse", QStringLiteral("8")},
        {" slave ", "Adresse", QStringLiteral("8")},
        {"Slave", "Port", std::nullopt},
        {"Missing", "Port", std::nullopt},
    };
    const QString fallback = QStringLiteral("<default>");
    for (const auto &c : cases) {
        const QString section = QString::fromLatin1(c.section);
        const QString key = QString::fromLatin1(c.key);
        EXPECT_EQ(ini.readString(section, key, fallback), c.value.value_or(fallback)) << c.section << "/" << c.key;
        EXPECT_EQ(ini.keyExists(section, key), c.value.has_value()) << c.section << "/" << c.key;
    }
}

TEST_F(IniFileTest, ReadsIntegersAndBooleans)
{
    const IniFile ini(write(Sample));
    const struct {
        const char *section;
        const char *key;
        std::optional<int> value;    // nullopt: the default comes back
        std::optional<bool> boolean; // nullopt: the default comes back
    } cases[] = {
        {"Schnittstelle", "Port", 2, true},
        {"Schnittstelle", "baud", 6, true},
        {"Numbers", "Negative", -5, true},
        {"Numbers", "Plus", 7, true},
        {"Numbers", "Smallest", -2147483647 - 1, true},
        {"Numbers", "Zero", 0, false},
        {"Numbers", "Five", 5, true},
        {"Numbers", "Hex", std::nullopt, std::nullopt},
        {"Numbers", "Text", std::nullopt, std::nullopt},
        {"Numbers", "Trailing", std::nullopt, std::nullopt},
        {"Numbers", "Fraction", std::nullopt, std::nullopt},
        {"Numbers", "TooBig", std::nullopt, std::nullopt},
        {"Schnittstelle", "Empty", std::nullopt, std::nullopt},
        {"Schnittstelle", "EthAdresse", std::nullopt, std::nullopt},
        {"Numbers", "Missing", std::nullopt, std::nullopt},
    };
    for (const auto &c : cases) {
        const QString section = QString::fromLatin1(c.section);
        const QString key = QString::fromLatin1(c.key);
        EXPECT_EQ(ini.readInteger(section, key, -99), c.value.value_or(-99)) << c.key;
        EXPECT_EQ(ini.readBool(section, key, true), c.boolean.value_or(true)) << c.key;
        EXPECT_EQ(ini.readBool(section, key, false), c.boolean.value_or(false)) << c.key;
    }
}

TEST_F(IniFileTest, ListsSectionsAndKeysInFileOrder)
{
    const IniFile ini(write(Sample));
    EXPECT_EQ(ini.sections(), QStringList({"Schnittstelle", "slave", "Numbers"}));
    EXPECT_EQ(ini.keys(QStringLiteral("SCHNITTSTELLE")),
              QStringList({"Port", "baud", "Frame", "Empty", "EthAdresse", "Quoted"}));
    EXPECT_TRUE(ini.sectionExists(QStringLiteral("SLAVE")));
    EXPECT_FALSE(ini.sectionExists(QStringLiteral("allgPara")));
    EXPECT_TRUE(ini.keys(QStringLiteral("allgPara")).isEmpty());
}

TEST_F(IniFileTest, MissingFileGivesDefaultsAndIsCreatedOnSave)
{
    const QString path = dir.filePath(QStringLiteral("Modbus.ini"));
    IniFile ini(path);
    EXPECT_TRUE(ini.readable());
    EXPECT_TRUE(ini.sections().isEmpty());
    EXPECT_EQ(ini.readInteger(QStringLiteral("Schnittstelle"), QStringLiteral("Baud"), 6), 6);
    EXPECT_EQ(
        ini.readString(QStringLiteral("Schnittstelle"), QStringLiteral("EthAdresse"), QStringLiteral("192.168.0.1")),
        QStringLiteral("192.168.0.1"));
    ASSERT_TRUE(ini.writeInteger(QStringLiteral("Schnittstelle"), QStringLiteral("Port"), 2));
    ASSERT_TRUE(ini.writeBool(QStringLiteral("Schnittstelle"), QStringLiteral("RS485"), false));
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(contents(path), QByteArray("[Schnittstelle]\nPort=2\nRS485=0\n"));
    // Only the file itself is left behind, no temporary one.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"Modbus.ini"}));
}

TEST_F(IniFileTest, WritingKeepsEverythingElseInPlace)
{
    for (const char *lineEnd : {"\n", "\r\n"}) {
        const auto text = [lineEnd](std::initializer_list<const char *> lines) {
            QByteArray all;
            for (const char *line : lines)
                all += QByteArray(line) + lineEnd;
            return all;
        };
        const QString path = write(text({
            "; Settings of vo3112ccc",
            "[Schnittstelle]",
            "Port=2",
            "; baud index",
            "Baud=6",
            "",
            "[Slave]",
            "Adresse=8",
            "",
            "; general parameters, edited by hand",
            "[allgPara]",
            "lokalIp = 192.168.0.1",
            "[Empty]",
        }));
        IniFile ini(path);
        ASSERT_TRUE(ini.writeInteger(QStringLiteral("schnittstelle"), QStringLiteral("BAUD"), 4));
        ASSERT_TRUE(ini.writeBool(QStringLiteral("Schnittstelle"), QStringLiteral("Ethernet"), true));
        ASSERT_TRUE(ini.writeString(QStringLiteral("Slave"), QStringLiteral("Adresse"), QStringLiteral("12")));
        ASSERT_TRUE(ini.writeString(QStringLiteral("allgPara"), QStringLiteral("DestIp1"), QStringLiteral("10.0.0.1")));
        ASSERT_TRUE(ini.writeString(QStringLiteral("Empty"), QStringLiteral("First"), QStringLiteral("1")));
        ASSERT_TRUE(ini.writeString(QStringLiteral("Neu"), QStringLiteral("Schluessel"), QStringLiteral("Wert")));
        ASSERT_TRUE(ini.save());
        EXPECT_EQ(contents(path), text({
                                      "; Settings of vo3112ccc",
                                      "[Schnittstelle]",
                                      "Port=2",
                                      "; baud index",
                                      "Baud=4",
                                      "Ethernet=1",
                                      "",
                                      "[Slave]",
                                      "Adresse=12",
                                      "",
                                      "; general parameters, edited by hand",
                                      "[allgPara]",
                                      "lokalIp = 192.168.0.1",
                                      "DestIp1=10.0.0.1",
                                      "[Empty]",
                                      "First=1",
                                      "",
                                      "[Neu]",
                                      "Schluessel=Wert",
                                  }))
            << "line end " << (lineEnd[0] == '\r' ? "CR LF" : "LF");

        const IniFile reread(path);
        EXPECT_EQ(reread.readInteger(QStringLiteral("Schnittstelle"), QStringLiteral("Baud"), 0), 4);
        EXPECT_TRUE(reread.readBool(QStringLiteral("Schnittstelle"), QStringLiteral("Ethernet"), false));
        EXPECT_EQ(reread.readString(QStringLiteral("neu"), QStringLiteral("schluessel")), QStringLiteral("Wert"));
    }
}

TEST_F(IniFileTest, WritesThatWouldBreakTheFileAreRefused)
{
    const QByteArray original = "[Slave]\nAdresse=8\n";
    const QString path = write(original);
    IniFile ini(path);
    const struct {
        QString section;
        QString key;
    } cases[] = {
        {QString(), QStringLiteral("Key")},
        {QStringLiteral("  "), QStringLiteral("Key")},
        {QStringLiteral("Slave"), QString()},
        {QStringLiteral("Sla]ve"), QStringLiteral("Key")},
        {QStringLiteral("Slave\n[Other"), QStringLiteral("Key")},
        {QStringLiteral("Slave"), QStringLiteral("Key=Value")},
        {QStringLiteral("Slave"), QStringLiteral(";Key")},
        {QStringLiteral("Slave"), QStringLiteral("[Key]")},
        {QStringLiteral("Slave"), QStringLiteral("Key\rOther")},
    };
    for (const auto &c : cases)
        EXPECT_FALSE(ini.writeString(c.section, c.key, QStringLiteral("1")))
            << c.section.toStdString() << "/" << c.key.toStdString();
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(contents(path), original);
}

TEST_F(IniFileTest, LineBreaksInAValueCannotAddLines)
{
    const QString path = write("[Slave]\nAdresse=8\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.writeString(QStringLiteral("Slave"), QStringLiteral("Adresse"),
                                QStringLiteral("9\r\n[Schnittstelle]\nPort=0")));
    ASSERT_TRUE(ini.save());
    const IniFile reread(path);
    EXPECT_EQ(reread.sections(), QStringList({"Slave"}));
    EXPECT_EQ(reread.readString(QStringLiteral("Slave"), QStringLiteral("Adresse")),
              QStringLiteral("9 [Schnittstelle] Port=0"));
}

TEST_F(IniFileTest, SaveIntoAMissingFolderFails)
{
    IniFile ini(dir.filePath(QStringLiteral("no such folder/Modbus.ini")));
    ASSERT_TRUE(ini.writeInteger(QStringLiteral("Slave"), QStringLiteral("Adresse"), 8));
    EXPECT_FALSE(ini.save());
}

TEST_F(IniFileTest, FileThatCannotBeReadIsNotReplaced)
{
    // A folder in place of the file: it exists, but opening it for reading fails.
    const QString path = dir.filePath(QStringLiteral("Modbus.ini"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Modbus.ini")));
    IniFile ini(path);
    EXPECT_FALSE(ini.readable());
    EXPECT_EQ(ini.readInteger(QStringLiteral("Slave"), QStringLiteral("Adresse"), 8), 8);
    ASSERT_TRUE(ini.writeInteger(QStringLiteral("Slave"), QStringLiteral("Adresse"), 9));
    EXPECT_FALSE(ini.save());
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST_F(IniFileTest, FileThatIsNotUtf8IsReadAsWindows1252)
{
    const QByteArray bytes = "[Mod_ID_0x03]\n"
                             "AddName=Temperatur -50..+400 \xB0"
                             "C\n"
                             "Name=M\xE4"
                             "nner \x80 \x84Zitat\x93 \x9F \x81\n";
    const IniFile ini(write(bytes, QStringLiteral("ModIO_NX.cfg")));
    EXPECT_EQ(ini.readString(QStringLiteral("Mod_ID_0x03"), QStringLiteral("AddName")),
              QStringLiteral("Temperatur -50..+400 \u00B0C"));
    EXPECT_EQ(ini.readString(QStringLiteral("Mod_ID_0x03"), QStringLiteral("Name")),
              QStringLiteral("M\u00E4nner \u20AC \u201EZitat\u201C \u0178 \u0081"));
}

TEST_F(IniFileTest, Windows1252TableAgreesWithTheSystemCodec)
{
    QStringDecoder system("windows-1252");
    if (!system.isValid())
        GTEST_SKIP() << "no Windows-1252 codec on this system";
    for (int b = 0x80; b <= 0xFF; ++b) {
        // Lead with an invalid UTF-8 sequence so the fallback is taken.
        const QByteArray bytes = QByteArray("\xFF") + static_cast<char>(b);
        const QString ours = IniFile::decodeText(bytes);
        const QString theirs = system.decode(bytes);
        ASSERT_EQ(ours.size(), 2);
        if (theirs.size() == 2 && theirs[1] != QChar(0xFFFD)) {
            EXPECT_EQ(ours[1].unicode(), theirs[1].unicode()) << "byte " << b;
        }
    }
}

TEST_F(IniFileTest, Utf8WithAndWithoutByteOrderMark)
{
    const QByteArray body = "[Kanal]\nEinheit=\xC2\xB0"
                            "C\nName=M\xC3\xA4nner\n";
    for (const bool bom : {false, true}) {
        const QString path = write(bom ? QByteArray("\xEF\xBB\xBF") + body : body);
        IniFile ini(path);
        EXPECT_EQ(ini.sections(), QStringList({"Kanal"})) << "BOM " << bom;
        EXPECT_EQ(ini.readString(QStringLiteral("Kanal"), QStringLiteral("Einheit")), QStringLiteral("\u00B0C"));
        EXPECT_EQ(ini.readString(QStringLiteral("Kanal"), QStringLiteral("Name")), QStringLiteral("M\u00E4nner"));
        ASSERT_TRUE(ini.writeString(QStringLiteral("Kanal"), QStringLiteral("Neu"), QStringLiteral("\u00E4")));
        ASSERT_TRUE(ini.save());
        EXPECT_EQ(contents(path), (bom ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + body + "Neu=\xC3\xA4\n");
    }
}

TEST_F(IniFileTest, OldFileIsSavedAsUtf8)
{
    const QString path = write("[A]\nName=M\xE4nner\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.writeInteger(QStringLiteral("A"), QStringLiteral("N"), 1));
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(contents(path), QByteArray("[A]\nName=M\xC3\xA4nner\nN=1\n"));
    EXPECT_EQ(IniFile(path).readString(QStringLiteral("A"), QStringLiteral("Name")), QStringLiteral("M\u00E4nner"));
}

TEST(IniFileNumbers, DescriptionNumbers)
{
    const struct {
        const char *text;
        qint64 value;
    } cases[] = {
        {"16", 16},
        {"0x10", 16},
        {"0X1f", 31},
        {"0xF5", 245},
        {" 42 ", 42},
        {"-5", -5},
        {"+5", 5},
        {"0", 0},
        {"abc", 0},
        {"", 0},
        {"0x", 0},
        {"0xG1", 0},
        {"12abc", 0},
        {"1.5", 0},
        {"-0x10", 0},
        {"9223372036854775807", std::numeric_limits<qint64>::max()},
        {"-9223372036854775808", std::numeric_limits<qint64>::min()},
        {"9223372036854775808", 0},
        {"-9223372036854775809", 0},
        {"99999999999999999999", 0},
        {"0x7FFFFFFFFFFFFFFF", std::numeric_limits<qint64>::max()},
        {"0xFFFFFFFFFFFFFFFF", -1},
        {"0x10000000000000000", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IniFile::descriptionNumber(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(IniFileLists, SplitsAtCommasAndBlanks)
{
    const struct {
        const char *text;
        QStringList items;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"a", {"a"}},
        {"a,b,c", {"a", "b", "c"}},
        {"a b  c", {"a", "b", "c"}},
        {"a\tb", {"a", "b"}},
        {" a , b ", {"a", "b"}},
        {"0x10,0x20", {"0x10", "0x20"}},
        {"\"a b\",c", {"a b", "c"}},
        {"\"x,y\" \"z\"", {"x,y", "z"}},
        {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
        {"\"\"", {""}},
        {"\"open", {"open"}},
        {"a,,b", {"a", "", "b"}},
        {"a, ,b", {"a", "", "b"}},
        {",a", {"", "a"}},
        {"a,", {"a", ""}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IniFile::splitList(QString::fromLatin1(c.text)), c.items) << c.text;
}

} // namespace
