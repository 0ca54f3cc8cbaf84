#include "TestStation.h"

#include "app/IniFile.h"
#include "link/SerialOpenFailure.h"
#include "link/TSIOTransfer.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{

TEST(SerialOpenFailure, PermissionErrorsAreTheUsersOnlyWhenTheDeviceRefusesHim)
{
    struct Case {
        QSerialPort::SerialPortError error;
        bool accessDenied;
        SerialOpenFailure expected;
    };
    const Case cases[] = {
        {QSerialPort::DeviceNotFoundError, false, SerialOpenFailure::NotFound},
        {QSerialPort::PermissionError, true, SerialOpenFailure::NoPermission},
        // Qt reports a port locked by another program as a permission error.
        {QSerialPort::PermissionError, false, SerialOpenFailure::InUse},
        {QSerialPort::OpenError, false, SerialOpenFailure::InUse},
        {QSerialPort::ResourceError, false, SerialOpenFailure::InUse},
        {QSerialPort::ReadError, true, SerialOpenFailure::InUse},
        {QSerialPort::WriteError, false, SerialOpenFailure::InUse},
        {QSerialPort::UnknownError, false, SerialOpenFailure::Other},
        {QSerialPort::UnsupportedOperationError, true, SerialOpenFailure::Other},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.error));
        EXPECT_EQ(ClassifySerialOpenFailure(c.error, c.accessDenied), c.expected);
    }
}

TEST(SerialOpenFailure, AccessCheckSeesTheDevicesPermissions)
{
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("ttyFake"));
    QFile file(device);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_FALSE(SerialDeviceAccessDenied(device));
    EXPECT_FALSE(SerialDeviceAccessDenied(dir.filePath(QStringLiteral("missing")))); // not found, not denied
    ASSERT_TRUE(QFile::setPermissions(device, QFile::Permissions()));
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, whom no device refuses";
    EXPECT_TRUE(SerialDeviceAccessDenied(device));
}

// A user outside the dialout group: the message names the group and the
// command, in both languages.
TEST(SerialOpenFailure, InterfaceWindowTellsHowToJoinTheDialoutGroup)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, whom no device refuses";
    TestStation t;
    const QString device = t.folder.filePath(QStringLiteral("ttyRefused"));
    QFile file(device);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(QFile::setPermissions(device, QFile::Permissions()));
    IniFile ini(t.d.SettingsPath);
    ini.writeString(QStringLiteral("Schnittstelle"), QStringLiteral("ComDevice1"), device);
    ASSERT_TRUE(ini.save());
    TSIOTransfer &io = *t.d.SIOTransfer;
    io.CoBoCom->setCurrentIndex(0);
    for (const quint8 language : {0, 1}) {
        SCOPED_TRACE(language);
        SelectLanguage(t.d, language);
        t.sink.clear();
        io.OKClick();
        ASSERT_EQ(t.sink.boxes.size(), 1u);
        const QString text = t.sink.boxes[0].text;
        EXPECT_TRUE(text.startsWith(device + QStringLiteral(": "))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("sudo usermod -aG dialout $USER")));
        EXPECT_TRUE(text.contains(language == 0 ? QStringLiteral("Gruppe dialout") : QStringLiteral("group dialout")));
        EXPECT_FALSE(io.Link->SerialPort->isOpen());
    }
}

} // namespace
