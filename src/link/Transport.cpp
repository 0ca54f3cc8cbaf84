#include "link/Transport.h"

#include "app/Deklarat.h"
#include "app/Messages.h"
#include "link/ModbusFrame.h"
#include "link/Rs485.h"
#include "link/TSIOTransfer.h"

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
    connect(ClientSocket, &QTcpSocket::readyRead, this, &Transport::ClientSocketRead);
    connect(MonitorTimer, &QTimer::timeout, this, &Transport::MonitorTimerTimer);
}

void Transport::Daten_Transfer(quint8 length)
{
    assembler_.reset();
    d.RxCount = 0;
    // Sends faster than the monitor period would keep restarting the monitor
    // timer: show what has gathered instead of letting it grow without end.
    if (d.TxHexText.size() >= MaxPendingSendText)
        MonitorTimerTimer();
    if (tcpOpen()) {
        const OutgoingFrame frame = BuildTcpFrame(d.TxFrame, length, d.TransactionId);
        d.TxHexText += frame.hexText;
        ClientSocket->write(frame.bytes);
        MonitorTimer->start(d.ResponseInterval);
        return;
    }
    const OutgoingFrame frame = BuildRtuFrame(d.TxFrame, length);
    if (!SerialPort->isOpen() || frame.bytes.isEmpty())
        return;
    const qint64 written = SerialPort->write(frame.bytes);
    d.TxHexText += frame.hexText;
    if (written != frame.bytes.size()) {
        SerialPort->clearError();
        ShowErrorMessage(d, d.SIOTransfer ? d.SIOTransfer->LookupMessage(QStringLiteral("@idSST_ERR3"))
                                          : QStringLiteral("Schnittstellen-Fehler"));
        return;
    }
    MonitorTimer->start(d.ResponseInterval);
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
    const QString text = (assembler_.*feed)(reinterpret_cast<const quint8 *>(bytes.constData()),
                                            static_cast<int>(bytes.size()), d.RxFrame, d.RxCount);
    if (monitor_) {
        monitor_->ShowReceivedData(text);
        monitor_->AddReceiveSeparator();
    }
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
    applyRs485();
    if (rs485_)
        setControlLines(rts_, dtr_);
}

void Transport::applyRs485()
{
    if (!SerialPort->isOpen())
        return;
    QString reason;
    if (!SetRs485Mode(static_cast<int>(SerialPort->handle()), rs485_, &reason) && rs485_ &&
        !rs485NoteShown_) {
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
