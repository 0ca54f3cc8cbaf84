#include "link/Transport.h"

#include "app/CoreTexts.h"
#include "app/Deklarat.h"
#include "app/Messages.h"
#include "link/Exchange.h"
#include "link/ModbusFrame.h"
#include "link/Rs485.h"
#include "link/TrafficObserver.h"

#include <algorithm>

Transport::Transport(Deklarat &d, QObject *parent) : QObject(parent), d(d)
{
    SerialPort = new QSerialPort(this);
    SerialPort->setObjectName(QStringLiteral("SerialPort"));
    ClientSocket = new QTcpSocket(this);
    ClientSocket->setObjectName(QStringLiteral("ClientSocket"));
    MonitorTimer = new QTimer(this);
    MonitorTimer->setObjectName(QStringLiteral("MonitorTimer"));
    MonitorTimer->setSingleShot(true);
    connect(SerialPort, &QSerialPort::readyRead, this, &Transport::SerialRxChar);
    connect(SerialPort, &QSerialPort::errorOccurred, this, &Transport::serialError);
    connect(ClientSocket, &QTcpSocket::readyRead, this, &Transport::ClientSocketRead);
    connect(MonitorTimer, &QTimer::timeout, this, &Transport::MonitorTimerTimer);
    HoldTimer = new QTimer(this);
    HoldTimer->setObjectName(QStringLiteral("HoldTimer"));
    HoldTimer->setSingleShot(true);
    connect(HoldTimer, &QTimer::timeout, this, &Transport::holdExpired);
    connect(ClientSocket, &QTcpSocket::connected, this, &Transport::lineReset);
    connect(ClientSocket, &QTcpSocket::disconnected, this, &Transport::lineReset);
}

void Transport::Daten_Transfer(quint8 length)
{
    LineRequest request;
    request.frame = d.TxFrame;
    request.length = length;
    request.transactionId = d.TransactionId;
    request.holdMs = d.ResponseInterval;
    switch (line_.submit(request)) {
    case LineQueue::Admission::SendNow:
        transmit(request);
        break;
    case LineQueue::Admission::Waiting:
        break;
    case LineQueue::Admission::Refused:
        if (monitor_)
            monitor_->ShowLinkNote(CoreText(QStringLiteral("@idLINE_BUSY"), d.CurrentLanguage));
        break;
    }
}

void Transport::submit(Exchange *owner, quint8 length, int holdMs)
{
    LineRequest request;
    request.owner = owner;
    request.frame = d.TxFrame;
    request.length = length;
    request.transactionId = d.TransactionId;
    request.shape = owner ? owner->shape() : RequestShape{};
    request.holdMs = holdMs;
    if (line_.submit(request) == LineQueue::Admission::SendNow)
        transmit(request);
}

void Transport::giveUp(Exchange *owner, bool timedOut)
{
    const bool wasOutstanding = line_.isOutstanding(owner);
    if (wasOutstanding && timedOut && traffic_ && outstandingSent_) {
        if (unframedBytes_)
            traffic_->rejected();
        traffic_->gaveUp();
    }
    const std::optional<LineRequest> next = line_.withdraw(owner);
    if (wasOutstanding) {
        HoldTimer->stop();
        sendNext(next);
    }
}

void Transport::transmit(const LineRequest &request)
{
    // The request as it was handed over: TxFrame may have been refilled since.
    std::copy_n(request.frame.begin(), request.length, d.TxFrame.begin());
    HoldTimer->start(std::max(1, request.holdMs));
    // Only a request that went out counts (not one while the link is down).
    outstandingSent_ = sendFrame(request.length, request.transactionId);
    if (traffic_ && outstandingSent_)
        traffic_->sent(d.TxFrame, request.length);
}

bool Transport::sendFrame(quint8 length, quint16 transactionId)
{
    assembler_.reset();
    assembler_.expectReplyTo(d.TxFrame.data() + ModbusHeaderSize, std::max(0, length - ModbusHeaderSize));
    unframedBytes_ = false;
    d.RxCount = 0;
    // Sends faster than the monitor period would keep restarting the monitor
    // timer: show what has gathered instead of letting it grow without end.
    if (d.TxHexText.size() >= MaxPendingSendText)
        MonitorTimerTimer();
    if (tcpOpen()) {
        const OutgoingFrame frame = BuildTcpFrame(d.TxFrame, length, transactionId);
        d.TxHexText += frame.hexText;
        const bool written = ClientSocket->write(frame.bytes) == frame.bytes.size();
        MonitorTimer->start(d.ResponseInterval);
        return written;
    }
    const OutgoingFrame frame = BuildRtuFrame(d.TxFrame, length);
    if (!SerialPort->isOpen() || frame.bytes.isEmpty())
        return false;
    const qint64 written = SerialPort->write(frame.bytes);
    d.TxHexText += frame.hexText;
    if (written != frame.bytes.size()) {
        SerialPort->clearError();
        ShowErrorMessage(d, CoreText(QStringLiteral("@idSST_ERR3"), d.CurrentLanguage));
        return false;
    }
    MonitorTimer->start(d.ResponseInterval);
    return true;
}

void Transport::frameComplete()
{
    unframedBytes_ = false;
    const std::optional<LineRequest> &outstanding = line_.outstanding();
    if (!outstanding) {
        // late: its window gave it up already
        if (traffic_)
            traffic_->rejected();
        return;
    }
    if (outstanding->owner) {
        // A late reply to an earlier request may come first: look behind it.
        while (ClassifyReply(outstanding->shape, d.RxFrame, d.RxCount) == ReplyKind::NotMine) {
            if (traffic_)
                traffic_->rejected();
            if (!assembler_.skipFrame(d.RxFrame, d.RxCount))
                return;
        }
        outstanding->owner->replyArrived(d.RxFrame, d.RxCount);
    }
    if (traffic_)
        traffic_->answered(d.RxFrame, d.RxCount);
    endOutstanding();
}

void Transport::endOutstanding()
{
    HoldTimer->stop();
    sendNext(line_.finish());
}

// The hold counts from the send, the window's response timer from its last
// tick: after the event loop was held up (a long repaint) the window still
// waits for a reply the hold would already have passed over. Such an exchange
// ends with the window's own timeout; the hold only frees the line from one
// whose window no longer ticks.
void Transport::holdExpired()
{
    const std::optional<LineRequest> &outstanding = line_.outstanding();
    if (outstanding && outstanding->owner && outstanding->owner->waiting()) {
        HoldTimer->start(std::max(1, outstanding->holdMs));
        return;
    }
    endOutstanding();
}

void Transport::sendNext(const std::optional<LineRequest> &next)
{
    if (next)
        transmit(*next);
}

void Transport::lineReset()
{
    HoldTimer->stop();
    line_.clear();
    assembler_.reset();
}

void Transport::MonitorTimerTimer()
{
    MonitorTimer->stop();
    if (monitor_) {
        monitor_->ShowSendData(d.TxHexText);
        monitor_->AddSendSeparator();
    }
    d.TxHexText.clear();
}

void Transport::SerialRxChar()
{
    received(SerialPort->readAll(), &ReplyAssembler::feedSerial);
}

void Transport::ClientSocketRead()
{
    received(ClientSocket->readAll(), &ReplyAssembler::feedTcp);
}

void Transport::received(const QByteArray &bytes, Feed feed)
{
    if (bytes.isEmpty())
        return;
    const bool wasComplete = assembler_.complete();
    const QString text = (assembler_.*feed)(reinterpret_cast<const quint8 *>(bytes.constData()),
                                            static_cast<int>(bytes.size()), d.RxFrame, d.RxCount);
    if (monitor_) {
        monitor_->ShowReceivedData(text);
        monitor_->AddReceiveSeparator();
    }
    if (!wasComplete && assembler_.complete())
        frameComplete();
    else if (!assembler_.complete())
        unframedBytes_ = true;
}

void Transport::setRs485(bool on)
{
    rs485_ = on;
    applyRs485();
}

void Transport::setControlLines(bool rts, bool dtr)
{
    rts_ = rts;
    dtr_ = dtr;
    if (SerialPort->isOpen()) {
        SerialPort->setRequestToSend(rts_);
        SerialPort->setDataTerminalReady(dtr_);
    }
}

void Transport::serialOpened()
{
    lineReset();
    applyRs485();
    if (rs485_)
        setControlLines(rts_, dtr_);
}

void Transport::serialError(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ResourceError || !SerialPort->isOpen())
        return;
    // Left open, every request would end in a write error of its own.
    SerialPort->clearError();
    SerialPort->close();
    lineReset();
    emit serialLost();
}

void Transport::applyRs485()
{
    if (!SerialPort->isOpen())
        return;
    QString reason;
    if (!SetRs485Mode(static_cast<int>(SerialPort->handle()), rs485_, &reason) && rs485_ && !rs485NoteShown_) {
        rs485NoteShown_ = true;
        if (monitor_)
            monitor_->ShowLinkNote(QStringLiteral("RS485: %1").arg(reason));
    }
}

void Daten_Transfer(Deklarat &d, quint8 length)
{
    if (d.Link)
        d.Link->Daten_Transfer(length);
}
