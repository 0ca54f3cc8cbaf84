#pragma once
// Opening the link to the coupler: the serial port with the settings of a
// baud rate and frame format, or a TCP connect bounded by a timer. No window
// here, so the interface window and the command-line program open it alike.
#include <QSerialPort>
#include <QString>

class QTcpSocket;
class QTimer;

// How long a TCP connect may take before it counts as failed.
constexpr int DefaultConnectTimeoutMs = 5000;

struct SerialOpenOutcome {
    bool opened = false;
    QSerialPort::SerialPortError error = QSerialPort::NoError; // why it did not open
    QString reason;                                            // the platform's text for it
};

// Parity and stop bits of frame format 1..4 (1 no parity 2 stop bits, 2 even,
// 3 odd, 4 no parity 1 stop bit); anything else is format 4.
void ApplyFrameFormat(QSerialPort &port, int frameFormat);

// (Re)opens `port` on `device`: 8 data bits, no flow control, the baud rate,
// and once open the frame format. An open port is closed first, so a second
// open takes the new settings. On failure the port's error is cleared.
SerialOpenOutcome OpenSerialLink(QSerialPort &port, const QString &device, int baudRate, int frameFormat);

// Drops any connection of `socket` and starts connecting to host:port; the
// outcome arrives as the socket's events. `connectTimer` is started with
// `timeoutMs` to bound a connect nobody answers.
void StartTcpConnect(QTcpSocket &socket, QTimer &connectTimer, const QString &host, quint16 port,
                     int timeoutMs = DefaultConnectTimeoutMs);
