#include "link/InterfaceSettings.h"

#include "app/IniFile.h"

#include <QStringList>

namespace
{
const QString Interface = QStringLiteral("Schnittstelle");
const QString Slave = QStringLiteral("Slave");
const QString General = QStringLiteral("allgPara");
} // namespace

InterfaceSettings ReadInterfaceSettings(const QString &path)
{
    const IniFile ini(path);
    InterfaceSettings s;
    s.Port = ini.readInteger(Interface, QStringLiteral("Port"), s.Port);
    s.Baud = ini.readInteger(Interface, QStringLiteral("Baud"), s.Baud);
    s.Frame = ini.readInteger(Interface, QStringLiteral("Frame"), s.Frame);
    s.RS485 = ini.readBool(Interface, QStringLiteral("RS485"), s.RS485);
    s.EthAdresse = ini.readString(Interface, QStringLiteral("EthAdresse"), s.EthAdresse);
    s.EthPort = ini.readInteger(Interface, QStringLiteral("EthPort"), s.EthPort);
    s.Ethernet = ini.readBool(Interface, QStringLiteral("Ethernet"), s.Ethernet);
    return s;
}

bool WriteInterfaceSettings(const QString &path, const InterfaceSettings &s)
{
    IniFile ini(path);
    ini.writeInteger(Interface, QStringLiteral("Port"), s.Port);
    ini.writeInteger(Interface, QStringLiteral("Baud"), s.Baud);
    ini.writeInteger(Interface, QStringLiteral("Frame"), s.Frame);
    ini.writeBool(Interface, QStringLiteral("RS485"), s.RS485);
    ini.writeString(Interface, QStringLiteral("EthAdresse"), s.EthAdresse);
    ini.writeInteger(Interface, QStringLiteral("EthPort"), s.EthPort);
    ini.writeBool(Interface, QStringLiteral("Ethernet"), s.Ethernet);
    return ini.save();
}

QString ComDevicePath(const QString &path, int comNumber)
{
    const IniFile ini(path);
    return ini.readString(Interface, QStringLiteral("ComDevice%1").arg(comNumber),
                          QStringLiteral("/dev/ttyS%1").arg(comNumber - 1));
}

QString ReadSlaveAddressText(const QString &path)
{
    return IniFile(path).readString(Slave, QStringLiteral("Adresse"), QStringLiteral("8"));
}

bool WriteSlaveAddress(const QString &path, int address)
{
    IniFile ini(path);
    ini.writeInteger(Slave, QStringLiteral("Adresse"), address);
    return ini.save();
}

GeneralParameterTexts::GeneralParameterTexts()
{
    DestIp.fill(QStringLiteral("192.168.0.1"));
    IpNetmask.fill(QStringLiteral("255.255.255.255"));
    Gateway.fill(QStringLiteral("192.168.0.1"));
    Metric.fill(QStringLiteral("0"));
}

GeneralParameterTexts ReadGeneralParameterTexts(const QString &path)
{
    const IniFile ini(path);
    GeneralParameterTexts t;
    t.lokalIp = ini.readString(General, QStringLiteral("lokalIp"), t.lokalIp);
    t.lokalIpMask = ini.readString(General, QStringLiteral("lokalIpMask"), t.lokalIpMask);
    for (int i = 0; i < 5; ++i) {
        const QString n = QString::number(i + 1);
        t.DestIp[i] = ini.readString(General, QStringLiteral("DestIp") + n, t.DestIp[i]);
        t.IpNetmask[i] = ini.readString(General, QStringLiteral("IpNetmask") + n, t.IpNetmask[i]);
        t.Gateway[i] = ini.readString(General, QStringLiteral("Gateway") + n, t.Gateway[i]);
        t.Metric[i] = ini.readString(General, QStringLiteral("Metric") + n, t.Metric[i]);
    }
    return t;
}

const QStringList &FrameNames()
{
    static const QStringList names = {QStringLiteral("No Parity 2 Stopbit"), QStringLiteral("Even Parity 1 Stopbit"),
                                      QStringLiteral("Odd Parity 1 Stopbit"), QStringLiteral("No Parity 1 Stopbit")};
    return names;
}
