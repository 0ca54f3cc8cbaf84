#include "link/LinkOpen.h"

#include <QTcpSocket>
#include <QTimer>

void ApplyFrameFormat(QSerialPort &port, int frameFormat)
{
    switch (frameFormat) {
    case 1:
        port.setParity(QSerialPort::NoParity);
        port.setStopBits(QSerialPort::TwoStop);
        break;
    case 2:
        port.setParity(QSerialPort::EvenParity);
        port.setStopBits(QSerialPort::OneStop);
        break;
    case 3:
        port.setParity(QSerialPort::OddParity);
        port.setStopBits(QSerialPort::OneStop);
        break;
    default:
        port.setParity(QSerialPort::NoParity);
        port.setStopBits(QSerialPort::OneStop);
        break;
    }
}

SerialOpenOutcome OpenSerialLink(QSerialPort &port, const QString &device, int baudRate, int frameFormat)
{
    if (port.isOpen())
        port.close();
    port.setPortName(device);
    port.setBaudRate(baudRate);
    port.setDataBits(QSerialPort::Data8);
    port.setFlowControl(QSerialPort::NoFlowControl);
    SerialOpenOutcome result;
    if (!port.open(QIODevice::ReadWrite)) {
        result.error = port.error();
        result.reason = port.errorString();
        port.clearError();
        return result;
    }
    // Parity and stop bits follow the open, as the port takes them then.
    ApplyFrameFormat(port, frameFormat);
    result.opened = true;
    return result;
}

void StartTcpConnect(QTcpSocket &socket, QTimer &connectTimer, const QString &host, quint16 port, int timeoutMs)
{
    socket.abort();
    socket.connectToHost(host, port);
    connectTimer.start(timeoutMs);
}
