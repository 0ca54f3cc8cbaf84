#include "link/InterfaceSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

QString writeFile(const QTemporaryDir &dir, const QByteArray &content)
{
    const QString path = dir.filePath(QStringLiteral("Modbus.ini"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(content);
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

TEST(ModbusIni, DefaultsWithoutAFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Modbus.ini"));
    const InterfaceSettings s = ReadInterfaceSettings(path);
    EXPECT_EQ(s.Port, 2);
    EXPECT_EQ(s.Baud, 6);
    EXPECT_EQ(s.Frame, 3);
    EXPECT_FALSE(s.RS485);
    EXPECT_EQ(s.EthAdresse, QStringLiteral("192.168.0.1"));
    EXPECT_EQ(s.EthPort, 502);
    EXPECT_FALSE(s.Ethernet);
    EXPECT_EQ(ReadSlaveAddressText(path), QStringLiteral("8"));
    EXPECT_EQ(ComDevicePath(path, 1), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(ComDevicePath(path, 4), QStringLiteral("/dev/ttyS3"));
    const GeneralParameterTexts g = ReadGeneralParameterTexts(path);
    EXPECT_EQ(g.lokalIp, QStringLiteral("192.168.0.1"));
    EXPECT_EQ(g.lokalIpMask, QStringLiteral("255.255.255.0"));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(g.DestIp[i], QStringLiteral("192.168.0.1"));
        EXPECT_EQ(g.IpNetmask[i], QStringLiteral("255.255.255.255"));
        EXPECT_EQ(g.Gateway[i], QStringLiteral("192.168.0.1"));
        EXPECT_EQ(g.Metric[i], QStringLiteral("0"));
    }
    EXPECT_FALSE(QFile::exists(path)); // reading creates nothing
}

TEST(ModbusIni, MissingKeysGiveTheirDefaultsOthersAreRead)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "[schnittstelle]\nBAUD=4\nethernet=1\nComDevice2=/dev/pts/7\n"
                                        "[allgPara]\nDestIp3=10.0.0.3\nMetric5=7\n[Slave]\nAdresse=16\n");
    const InterfaceSettings s = ReadInterfaceSettings(path);
    EXPECT_EQ(s.Baud, 4);
    EXPECT_TRUE(s.Ethernet);
    EXPECT_EQ(s.Port, 2);
    EXPECT_EQ(s.EthPort, 502);
    EXPECT_EQ(ComDevicePath(path, 2), QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(ComDevicePath(path, 3), QStringLiteral("/dev/ttyS2"));
    EXPECT_EQ(ReadSlaveAddressText(path), QStringLiteral("16"));
    const GeneralParameterTexts g = ReadGeneralParameterTexts(path);
    EXPECT_EQ(g.DestIp[2], QStringLiteral("10.0.0.3"));
    EXPECT_EQ(g.DestIp[0], QStringLiteral("192.168.0.1"));
    EXPECT_EQ(g.Metric[4], QStringLiteral("7"));
}

TEST(ModbusIni, WritingKeepsOtherSectionsAndReadsBack)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "; settings of the commissioning laptop\n"
                                        "[Schnittstelle]\nComDevice1=/dev/ttyUSB0\nPort=0\n"
                                        "[allgPara]\nlokalIp=10.1.1.1\n");
    InterfaceSettings s;
    s.Port = 1;
    s.Baud = 5;
    s.Frame = 1;
    s.RS485 = true;
    s.EthAdresse = QStringLiteral("127.0.0.1");
    s.EthPort = 1502;
    s.Ethernet = true;
    ASSERT_TRUE(WriteInterfaceSettings(path, s));
    ASSERT_TRUE(WriteSlaveAddress(path, 16));
    EXPECT_EQ(QString::fromUtf8(readFile(path)), QString::fromUtf8("; settings of the commissioning laptop\n"
                                                                   "[Schnittstelle]\nComDevice1=/dev/ttyUSB0\nPort=1\n"
                                                                   "Baud=5\nFrame=1\nRS485=1\nEthAdresse=127.0.0.1\n"
                                                                   "EthPort=1502\nEthernet=1\n"
                                                                   "[allgPara]\nlokalIp=10.1.1.1\n\n"
                                                                   "[Slave]\nAdresse=16\n"));
    const InterfaceSettings back = ReadInterfaceSettings(path);
    EXPECT_EQ(back.Port, 1);
    EXPECT_EQ(back.Baud, 5);
    EXPECT_EQ(back.Frame, 1);
    EXPECT_TRUE(back.RS485);
    EXPECT_EQ(back.EthAdresse, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(back.EthPort, 1502);
    EXPECT_TRUE(back.Ethernet);
}

} // namespace
