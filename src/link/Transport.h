#pragma once
// The one send operation and both receive paths: a request in TxFrame goes out
// as a Modbus/TCP frame on the TCP connection, or as an RTU frame on the serial
// line; what comes back lands in RxFrame once it forms a whole frame.
#include "link/ReplyAssembler.h"

#include <QObject>
#include <QSerialPort>
#include <QTcpSocket>
#include <QTimer>

class Deklarat;

// Where the transport's monitor lines go (the main window).
class MonitorSink {
public:
    virtual ~MonitorSink() = default;
    virtual void ShowSendData(const QString &text) = 0;
    virtual void ShowReceivedData(const QString &text) = 0;
    // The line holding one blank after each monitor line.
    virtual void AddSendSeparator() = 0;
    virtual void AddReceiveSeparator() = 0;
    // A one-off note about the link (e.g. RS-485 refused by the driver).
    virtual void ShowLinkNote(const QString &text) = 0;
};

class Transport : public QObject {
    Q_OBJECT
public:
    explicit Transport(Deklarat &d, QObject *parent = nullptr);

    // Longest send rendering held back for one monitor line.
    static constexpr int MaxPendingSendText = 4096;

    void Daten_Transfer(quint8 length);

    QSerialPort *SerialPort;
    QTcpSocket *ClientSocket;
    QTimer *MonitorTimer;

    void setMonitor(MonitorSink *monitor) { monitor_ = monitor; }
    MonitorSink *monitor() const { return monitor_; }

    bool tcpOpen() const { return ClientSocket->state() == QAbstractSocket::ConnectedState; }

    // RS-485 mode and the RTS/DTR lines, applied now if the port is open and
    // again whenever it is opened.
    void setRs485(bool on);
    bool rs485() const { return rs485_; }
    void setControlLines(bool rts, bool dtr);

    void SerialRxChar();
    void ClientSocketRead();
    void MonitorTimerTimer();

    // Called after the serial port was opened: applies RS-485 and the lines.
    void serialOpened();

private:
    using Feed = QString (ReplyAssembler::*)(const quint8 *, int, ModbusBuffer &, quint16 &);
    // One read event of either link: into the assembler, then to the monitor.
    void received(const QByteArray &bytes, Feed feed);
    void applyRs485();

    Deklarat &d;
    ReplyAssembler assembler_;
    MonitorSink *monitor_ = nullptr;
    bool rs485_ = false;
    bool rts_ = false;
    bool dtr_ = false;
    bool rs485NoteShown_ = false;
};

// Sends the request in TxFrame on the active link (see Transport).
void Daten_Transfer(Deklarat &d, quint8 length);
