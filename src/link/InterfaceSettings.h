#pragma once
// The settings file Modbus.ini: every section and key the program reads or
// writes, with the defaults that a missing file or key gives.
#include <QString>
#include <QStringList>
#include <array>

struct InterfaceSettings {
    int Port = 2;  // index into the COM list: COM 3
    int Baud = 6;  // index into the baud list: 38400
    int Frame = 3; // index into the frame list: no parity, 1 stop bit
    bool RS485 = false;
    QString EthAdresse = QStringLiteral("192.168.0.1");
    int EthPort = 502;
    bool Ethernet = false;
};

InterfaceSettings ReadInterfaceSettings(const QString &path);
// Writes all seven keys of section Schnittstelle; false if the file could not be saved.
bool WriteInterfaceSettings(const QString &path, const InterfaceSettings &settings);

// The device behind "COM k" (k = 1..4): key ComDevice<k>, default /dev/ttyS<k-1>.
QString ComDevicePath(const QString &path, int comNumber);

// Section Slave, key Adresse: the unit identifier in decimal (default "8").
QString ReadSlaveAddressText(const QString &path);
bool WriteSlaveAddress(const QString &path, int address);

// Section allgPara: initial texts of the general parameter window.
struct GeneralParameterTexts {
    QString lokalIp = QStringLiteral("192.168.0.1");
    QString lokalIpMask = QStringLiteral("255.255.255.0");
    std::array<QString, 5> DestIp;
    std::array<QString, 5> IpNetmask;
    std::array<QString, 5> Gateway;
    std::array<QString, 5> Metric;
    GeneralParameterTexts();
};
GeneralParameterTexts ReadGeneralParameterTexts(const QString &path);

// The lists of the interface window, by index.
constexpr std::array<int, 7> BaudRates = {600, 1200, 2400, 4800, 9600, 19200, 38400};
const QStringList &FrameNames();
