#pragma once
// The one send operation and both receive paths: a request in TxFrame goes out
// as a Modbus/TCP frame on the TCP connection, or as an RTU frame on the serial
// line; what comes back lands in RxFrame once it forms a whole frame.
//
// One exchange is outstanding at a time; requests handed over meanwhile wait
// in a first-come queue (LineQueue) and go out when the outstanding one is
// over: its reply arrived whole, its window gave it up, or its hold time
// passed. A whole frame that is not the awaited reply is shown in the monitor
// and otherwise passed over. The reply goes to the Exchange that asked.
#include "link/LineQueue.h"
#include "link/ReplyAssembler.h"

#include <QObject>
#include <QSerialPort>
#include <QTcpSocket>
#include <QTimer>

class Deklarat;
class TrafficObserver;

// Where the transport's monitor lines go (the main window).
class MonitorSink
{
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

class Transport : public QObject
{
    Q_OBJECT
public:
    explicit Transport(Deklarat &d, QObject *parent = nullptr);

    // Longest send rendering held back for one monitor line: the monitor lays
    // out a whole line at every repaint, and a longer one shows no more.
    static constexpr int MaxPendingSendText = 1024;

    // A request that awaits no reply (restart command, free communication):
    // it holds the line until a whole frame arrives or ResponseInterval passed.
    void Daten_Transfer(quint8 length);
    // A window's request: the reply goes to `owner`, the line is held until
    // then, until the owner gives up, or when `holdMs` has passed and the
    // owner's response timer no longer runs.
    void submit(Exchange *owner, quint8 length, int holdMs);
    // `timedOut`: the owner waited its last period in vain (counted as given up).
    void giveUp(Exchange *owner, bool timedOut = false);

    // A whole frame is in RxFrame/RxCount: hand it to the exchange that awaits
    // it, or pass it over. Called by both receive paths (and by tests).
    void frameComplete();
    // The link opened, closed or changed: nothing outstanding can be answered.
    void lineReset();

    const LineQueue &line() const { return line_; }

    QSerialPort *SerialPort;
    QTcpSocket *ClientSocket;
    QTimer *MonitorTimer;
    QTimer *HoldTimer; // bounds the outstanding exchange

    void setMonitor(MonitorSink *monitor) { monitor_ = monitor; }
    MonitorSink *monitor() const { return monitor_; }
    // Told of every exchange (the traffic statistics); null: nobody.
    void setTrafficObserver(TrafficObserver *observer) { traffic_ = observer; }

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
    // The open port reports an error: a device that went away (adapter
    // pulled, pty closed) closes the port and says so once.
    void serialError(QSerialPort::SerialPortError error);

signals:
    void serialLost();

private:
    using Feed = QString (ReplyAssembler::*)(const quint8 *, int, ModbusBuffer &, quint16 &);
    // One read event of either link: into the assembler, then to the monitor.
    void received(const QByteArray &bytes, Feed feed);
    void applyRs485();
    void transmit(const LineRequest &request);
    // False when nothing went out (no link open, a failed write).
    bool sendFrame(quint8 length, quint16 transactionId);
    void endOutstanding();
    void holdExpired();
    void sendNext(const std::optional<LineRequest> &next);

    Deklarat &d;
    LineQueue line_;
    ReplyAssembler assembler_;
    MonitorSink *monitor_ = nullptr;
    bool rs485_ = false;
    bool rts_ = false;
    bool dtr_ = false;
    bool rs485NoteShown_ = false;
    TrafficObserver *traffic_ = nullptr;
    bool unframedBytes_ = false;   // bytes since the send that formed no frame
    bool outstandingSent_ = false; // the outstanding request went out
};

// Sends the request in TxFrame on the active link (see Transport).
void Daten_Transfer(Deklarat &d, quint8 length);
