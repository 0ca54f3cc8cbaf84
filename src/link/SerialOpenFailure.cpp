#include "link/SerialOpenFailure.h"

#include <QFile>
#include <cerrno>
#include <unistd.h>

SerialOpenFailure ClassifySerialOpenFailure(QSerialPort::SerialPortError error, bool accessDenied)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return SerialOpenFailure::NotFound;
    case QSerialPort::PermissionError:
        return accessDenied ? SerialOpenFailure::NoPermission : SerialOpenFailure::InUse;
    case QSerialPort::OpenError:
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        return SerialOpenFailure::InUse;
    default:
        return SerialOpenFailure::Other;
    }
}

bool SerialDeviceAccessDenied(const QString &device)
{
    const QByteArray path = QFile::encodeName(device);
    return ::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES;
}
