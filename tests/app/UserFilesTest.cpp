#include "TestStation.h"

#include "app/UserFiles.h"
#include "link/InterfaceSettings.h"
#include "link/TSIOTransfer.h"
#include "monitor/TVo3112CCC.h"
#include "process/TCont.h"
#include "station/TDeviceConfigForm.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{

const QByteArray SiteSettings = "[Schnittstelle]\nEthernet=1\nEthAdresse=10.0.0.7\nEthPort=1502\n[Slave]\nAdresse=12\n";

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const WritableCheck Writable = [](const QString &) { return true; };
const WritableCheck ReadOnly = [](const QString &) { return false; };

// A folder the current user cannot write to; root writes anyway, so there
// is none for root (the package test covers that case with a read-only mount).
bool MakeReadOnly(const QString &folder)
{
    return ::geteuid() != 0 && QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
}

constexpr const char *RootSkip = "running as root, who writes into read-only folders: covered by the package test";

class SettingsLocation : public ::testing::Test
{
protected:
    QString programFolder() const { return program.path() + QLatin1Char('/'); }
    QString beside() const { return program.filePath(QStringLiteral("Modbus.ini")); }
    QString userFolder() const { return home.filePath(QStringLiteral("config/vo3112ccc")); }
    QString own() const { return userFolder() + QStringLiteral("/Modbus.ini"); }

    QTemporaryDir program;
    QTemporaryDir home;
};

TEST_F(SettingsLocation, WritableProgramFolderKeepsTheFileBesideTheProgram)
{
    ASSERT_TRUE(Write(beside(), SiteSettings));
    EXPECT_EQ(SettingsFileFor(programFolder(), userFolder(), Writable), beside());
    EXPECT_FALSE(QDir(userFolder()).exists()); // nothing is copied
}

TEST_F(SettingsLocation, ReadOnlyProgramFolderSeedsTheUsersCopyOnce)
{
    ASSERT_TRUE(Write(beside(), SiteSettings));
    // Installed files are read-only for the user; the copy must not be.
    ASSERT_TRUE(QFile::setPermissions(beside(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    EXPECT_EQ(SettingsFileFor(programFolder(), userFolder(), ReadOnly), own());
    EXPECT_EQ(Contents(own()), SiteSettings);
    EXPECT_TRUE(QFile::permissions(own()) & QFile::WriteOwner);

    // The user's changes survive the next start: no second seeding.
    ASSERT_TRUE(QFile::setPermissions(own(), QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(Write(own(), "[Slave]\nAdresse=3\n"));
    EXPECT_EQ(SettingsFileFor(programFolder(), userFolder(), ReadOnly), own());
    EXPECT_EQ(Contents(own()), QByteArray("[Slave]\nAdresse=3\n"));
}

TEST_F(SettingsLocation, ReadOnlyProgramFolderWithoutSettingsStartsTheUserWithDefaults)
{
    EXPECT_EQ(SettingsFileFor(programFolder(), userFolder(), ReadOnly), own());
    EXPECT_TRUE(QDir(userFolder()).exists());
    EXPECT_FALSE(QFile::exists(own()));
    EXPECT_EQ(ReadInterfaceSettings(own()).EthPort, 502);
}

TEST_F(SettingsLocation, WithoutAUserFolderTheSharedFileIsStillRead)
{
    ASSERT_TRUE(Write(beside(), SiteSettings));
    EXPECT_EQ(SettingsFileFor(programFolder(), QString(), ReadOnly), beside());
    // A plain file where the folder should be: it cannot be created.
    ASSERT_TRUE(Write(home.filePath(QStringLiteral("config")), "not a folder"));
    EXPECT_EQ(SettingsFileFor(programFolder(), userFolder(), ReadOnly), beside());
}

TEST_F(SettingsLocation, RealFolderPermissionsDecide)
{
    ASSERT_TRUE(Write(beside(), SiteSettings));
    EXPECT_EQ(SettingsFileFor(programFolder(), userFolder()), beside());
    if (!MakeReadOnly(program.path()))
        GTEST_SKIP() << RootSkip;
    EXPECT_FALSE(CanWriteFile(beside()));
    EXPECT_EQ(SettingsFileFor(programFolder(), userFolder()), own());
    EXPECT_EQ(Contents(own()), SiteSettings);
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(SettingsLocation, ReadOnlyFileInAWritableFolderIsNotWritable)
{
    ASSERT_TRUE(Write(beside(), SiteSettings));
    EXPECT_TRUE(CanWriteFile(beside()));
    EXPECT_TRUE(CanWriteFile(program.filePath(QStringLiteral("new.ini"))));
    EXPECT_FALSE(CanWriteFile(program.filePath(QStringLiteral("no-such-folder/Modbus.ini"))));
    ASSERT_TRUE(QFile::setPermissions(beside(), QFile::ReadOwner));
    if (::geteuid() == 0)
        GTEST_SKIP() << RootSkip;
    EXPECT_FALSE(CanWriteFile(beside()));
}

// What start-up chose for a read-only program folder is where the interface
// window's OK and the configuration window's slave address are kept.
TEST_F(SettingsLocation, InterfaceOkAndSlaveAddressLandInTheUsersFile)
{
    TestStation t;
    const QString shared = t.folder.filePath(QStringLiteral("Modbus.ini"));
    ASSERT_TRUE(Write(shared, SiteSettings));
    t.d.SettingsPath = SettingsFileFor(t.folder.path() + QLatin1Char('/'), userFolder(), ReadOnly);
    ASSERT_EQ(t.d.SettingsPath, own());

    TSIOTransfer &io = *t.d.SIOTransfer;
    io.CBoShowMessage->setChecked(false);
    io.CBoEthernet->setChecked(true);
    io.CBoEthernetClick();
    io.CBAdresse->setEditText(QStringLiteral("127.0.0.1"));
    io.SEPort->setValue(1); // nobody listens there
    io.OKClick();
    const InterfaceSettings saved = ReadInterfaceSettings(own());
    EXPECT_TRUE(saved.Ethernet);
    EXPECT_EQ(saved.EthAdresse, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(saved.EthPort, 1);

    TDeviceConfigForm &config = *t.d.DeviceConfigForm;
    config.FormActivate();
    EXPECT_EQ(t.d.SlaveAddress, 12); // seeded from the shared file
    config.EHexID->setText(QStringLiteral("1A"));
    EXPECT_EQ(ReadSlaveAddressText(own()), QStringLiteral("26"));
    t.d.SlaveAddress = 8;
    config.FormActivate();
    EXPECT_EQ(t.d.SlaveAddress, 0x1A);

    EXPECT_EQ(Contents(shared), SiteSettings); // the shared file is left alone
}

TEST(StartupSettings, ReadOnlyProgramFolderUsesTheConfigurationFolder)
{
    QTemporaryDir program;
    QTemporaryDir config;
    ASSERT_TRUE(Write(program.filePath(QStringLiteral("Modbus.ini")), SiteSettings));
    if (!MakeReadOnly(program.path()))
        GTEST_SKIP() << RootSkip;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    {
        RecordingMessageSink sink;
        Station station({}, program.path());
        station.d.setMessageSink(&sink);
        station.start();
        EXPECT_EQ(station.d.SettingsPath, config.filePath(QStringLiteral("vo3112ccc/Modbus.ini")));
        EXPECT_EQ(ReadInterfaceSettings(station.d.SettingsPath).EthPort, 1502);
    }
    qputenv("XDG_CONFIG_HOME", saved);
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

struct OutputCase {
    const char *name;
    const char *file;
    bool currentWritable;
    const char *expected; // "DOCS/" stands for the documents folder
    bool inDocuments;
};

TEST(OutputLocation, RelativeNamesFallBackToTheDocumentsFolder)
{
    const OutputCase cases[] = {
        {"writable current folder keeps the bare name", "data_log.csv", true, "data_log.csv", false},
        {"read-only current folder", "data_log.csv", false, "DOCS/data_log.csv", true},
        {"relative subfolder", "logs/Datenverkehr.txt", false, "DOCS/logs/Datenverkehr.txt", true},
        {"absolute name stays", "/var/log/x.txt", false, "/var/log/x.txt", false},
    };
    const QString docs = QStringLiteral("/home/tech/Documents");
    for (const OutputCase &c : cases) {
        SCOPED_TRACE(c.name);
        QString checked;
        const OutputPlace place =
            OutputFileFor(QString::fromUtf8(c.file), QStringLiteral("/opt/site"), docs, [&](const QString &path) {
                checked = path;
                return c.currentWritable;
            });
        EXPECT_EQ(place.path, QString::fromUtf8(c.expected).replace(QStringLiteral("DOCS"), docs));
        EXPECT_EQ(place.inDocumentsFolder, c.inDocuments);
        if (!QDir::isAbsolutePath(QString::fromUtf8(c.file))) {
            EXPECT_EQ(checked, QStringLiteral("/opt/site/") + QString::fromUtf8(c.file));
        }
    }
}

// The recordings of a user whose current folder is read-only: both go to the
// documents folder and a message says where.
TEST(OutputLocation, RecordingsInAReadOnlyFolderGoToDocumentsAndSaySo)
{
    QTemporaryDir cwd;
    QTemporaryDir home;
    const QString before = QDir::currentPath();
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    if (!MakeReadOnly(cwd.path())) {
        qputenv("HOME", savedHome);
        GTEST_SKIP() << RootSkip;
    }
    ASSERT_TRUE(QDir::setCurrent(cwd.path()));
    const QString docs = UserDocumentsFolder();
    {
        TestStation t;
        t.d.Vo3112CCC->SpeichernClick();
        EXPECT_TRUE(t.d.Vo3112CCC->TrafficSaving);
        t.d.Cont->BSaveClick();
        ASSERT_EQ(t.sink.boxes.size(), 2u);
        EXPECT_EQ(t.sink.boxes[0].kind, MessageKind::Information);
        EXPECT_TRUE(t.sink.boxes[0].text.endsWith(docs + QStringLiteral("/Datenverkehr.txt")));
        EXPECT_TRUE(t.sink.boxes[0].text.startsWith(QStringLiteral("Der aktuelle Ordner ist schreibgeschützt.")));
        EXPECT_TRUE(t.sink.boxes[1].text.endsWith(docs + QStringLiteral("/data_log.csv")));
        EXPECT_TRUE(QFile::exists(docs + QStringLiteral("/Datenverkehr.txt")));
        EXPECT_TRUE(QFile::exists(docs + QStringLiteral("/data_log.csv")));
        t.d.Vo3112CCC->SpeichernClick();
        t.d.Cont->BSaveClick();
    }
    QDir::setCurrent(before);
    qputenv("HOME", savedHome);
    QFile::setPermissions(cwd.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace
