#pragma once
// Why a serial port did not open, in the terms the interface window reports.
#include <QSerialPort>
#include <QString>

enum class SerialOpenFailure {
    NotFound,     // no such device
    InUse,        // busy, locked by another program, or an I/O error
    NoPermission, // the user may not open the device (not in its group)
    Other,        // left to the platform's own error text
};

// `accessDenied`: the device refuses this user read and write access. Qt
// reports a port locked by another program as a permission error too; only
// the device's own permissions make it one the user can mend.
SerialOpenFailure ClassifySerialOpenFailure(QSerialPort::SerialPortError error, bool accessDenied);

// True when the device exists and refuses this user read or write access.
bool SerialDeviceAccessDenied(const QString &device);
