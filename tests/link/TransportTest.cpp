#include "link/Transport.h"
#include "PtyPair.h"
#include "RecordingMonitor.h"
#include "Wait.h"
#include "app/Deklarat.h"
#include "link/Exchange.h"
#include "link/ModbusCrc.h"

#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

namespace
{

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

QByteArray withCrc(QByteArray frame)
{
    const quint16 crc =
        ModbusCrc16(reinterpret_cast<const quint8 *>(frame.constData()), static_cast<int>(frame.size()));
    frame.append(static_cast<char>(crc & 0xFF));
    frame.append(static_cast<char>(crc >> 8));
    return frame;
}

void putRequest(Deklarat &d, std::initializer_list<int> request)
{
    int i = 6;
    for (int v : request)
        d.TxFrame[static_cast<size_t>(i++)] = static_cast<quint8>(v);
}

// A transport connected to an in-process TCP server standing in for the coupler.
struct TcpFixture {
    TcpFixture()
    {
        d.setMessageSink(&sink);
        transport.setMonitor(&monitor);
        server.listen(QHostAddress::LocalHost);
        transport.ClientSocket->connectToHost(QHostAddress::LocalHost, server.serverPort());
        WaitUntil([&] { return server.hasPendingConnections() || peer; });
        peer = server.nextPendingConnection();
        WaitUntil([&] { return transport.tcpOpen(); });
    }
    QByteArray receivedByPeer(int expected)
    {
        QByteArray got;
        WaitUntil([&] {
            got += peer->readAll();
            return got.size() >= expected;
        });
        return got;
    }
    Deklarat d;
    RecordingMessageSink sink;
    RecordingMonitor monitor;
    Transport transport{d};
    QTcpServer server;
    QTcpSocket *peer = nullptr;
};

TEST(TransportTcp, SendsHeaderAndPayloadAndShowsOneSendLinePerPeriod)
{
    TcpFixture f;
    ASSERT_NE(f.peer, nullptr);
    f.d.TransactionId = 5;
    putRequest(f.d, {0x08, 0x04, 0x10, 0x00, 0x00, 0x01});
    f.transport.Daten_Transfer(12);
    EXPECT_EQ(f.receivedByPeer(12), bytes({0x00, 0x05, 0, 0, 0, 6, 0x08, 0x04, 0x10, 0x00, 0x00, 0x01}));
    EXPECT_EQ(f.d.TxHexText, QStringLiteral("00 05 00 00 00 06 08 04 10 00 00 01 "));
    // Answered, so the line is free for the next request at once.
    f.peer->write(bytes({0x00, 0x05, 0, 0, 0, 5, 0x08, 0x04, 0x02, 0x12, 0x34}));
    f.peer->flush();
    ASSERT_TRUE(WaitUntil([&] { return f.d.RxCount != 0; }));
    EXPECT_EQ(f.transport.line().state(), LineQueue::State::Idle);
    // A second send within the period joins the same monitor line.
    RunEvents(50);
    f.d.TransactionId = 6;
    f.transport.Daten_Transfer(12);
    ASSERT_TRUE(WaitUntil([&] { return !f.monitor.send.isEmpty(); }, 2000));
    ASSERT_EQ(f.monitor.send.size(), 2);
    EXPECT_EQ(f.monitor.send[0], QStringLiteral("00 05 00 00 00 06 08 04 10 00 00 01 "
                                                "00 06 00 00 00 06 08 04 10 00 00 01 "));
    EXPECT_EQ(f.monitor.send[1], QStringLiteral(" "));
    EXPECT_TRUE(f.d.TxHexText.isEmpty());
}

TEST(TransportTcp, SendsFasterThanTheLineCarriesThemWaitBoundedAndInOrder)
{
    TcpFixture f;
    f.d.ResponseInterval = 20;
    f.d.CurrentLanguage = 1; // the line's own texts follow the language
    putRequest(f.d, {0x08, 0x04, 0x10, 0x00, 0x00, 0x01});
    // Against a silent peer each frame holds the line for ResponseInterval.
    for (int i = 0; i < 2000; ++i) {
        f.d.TransactionId = static_cast<quint16>(i);
        f.transport.Daten_Transfer(12);
    }
    EXPECT_EQ(f.transport.line().waiting(), LineQueue::MaxWaitingUnowned);
    ASSERT_EQ(f.monitor.notes.size(), 2000 - 1 - LineQueue::MaxWaitingUnowned);
    EXPECT_EQ(f.monitor.notes.first(), QStringLiteral("Line busy: frame not sent"));
    // The first and the waiting ones go out one after the other, in order.
    const int sent = 1 + LineQueue::MaxWaitingUnowned;
    const QByteArray got = f.receivedByPeer(12 * sent);
    ASSERT_EQ(got.size(), 12 * sent);
    for (int i = 0; i < sent; ++i)
        EXPECT_EQ(got.mid(12 * i, 2), bytes({0, i})) << "frame " << i;
    EXPECT_LT(f.d.TxHexText.size(), Transport::MaxPendingSendText + 64);
}

TEST(TransportTcp, BareHeaderForLengthSix)
{
    TcpFixture f;
    f.d.TransactionId = 0x1234;
    f.transport.Daten_Transfer(6);
    EXPECT_EQ(f.receivedByPeer(6), bytes({0x12, 0x34, 0, 0, 0, 0}));
}

TEST(TransportTcp, ReplyLandsWhenWholeEvenIfSplit)
{
    TcpFixture f;
    putRequest(f.d, {0x08, 0x04, 0x10, 0x00, 0x00, 0x01});
    f.transport.Daten_Transfer(12);
    f.receivedByPeer(12);
    const QByteArray reply = bytes({0x00, 0x00, 0, 0, 0, 5, 0x08, 0x04, 0x02, 0x12, 0x34});
    f.peer->write(reply.left(4));
    f.peer->flush();
    ASSERT_TRUE(WaitUntil([&] { return f.monitor.receive.size() >= 2; }));
    EXPECT_EQ(f.d.RxCount, 0); // half a reply is no reply
    f.peer->write(reply.mid(4));
    f.peer->flush();
    ASSERT_TRUE(WaitUntil([&] { return f.d.RxCount != 0; }));
    EXPECT_EQ(f.d.RxCount, 11);
    EXPECT_EQ(f.d.RxFrame[6], 0x08);
    EXPECT_EQ(f.d.RxFrame[9], 0x12);
    EXPECT_EQ(f.d.RxFrame[10], 0x34);
    // Both segments are in the monitor, each with its separator.
    ASSERT_EQ(f.monitor.receive.size(), 4);
    EXPECT_EQ(f.monitor.receive[0], QStringLiteral("00  00  00  00  "));
    EXPECT_EQ(f.monitor.receive[1], QStringLiteral(" "));
}

TEST(TransportTcp, NewSendForgetsTheOldReply)
{
    TcpFixture f;
    putRequest(f.d, {0x08, 0x04, 0x10, 0x00, 0x00, 0x01});
    f.transport.Daten_Transfer(12);
    f.peer->write(bytes({0, 0, 0, 0, 0, 5, 0x08, 0x04, 0x02, 0x00, 0x01}));
    ASSERT_TRUE(WaitUntil([&] { return f.d.RxCount != 0; }));
    f.transport.Daten_Transfer(12);
    EXPECT_EQ(f.d.RxCount, 0);
}

// The hold counts from the send, a window's response timer from its last
// tick; after the event loop was held up the hold runs out first. Here the
// hold is cut short instead: the window still waits (its timer runs), so the
// reply that comes then is its own.
TEST(TransportTcp, HoldRunningOutWhileTheWindowWaitsKeepsTheLineForItsReply)
{
    TcpFixture f;
    f.d.Link = &f.transport;
    int retries = 0;
    Exchange exchange(f.d, retries);
    QTimer responseTimer; // long enough never to tick in this test
    putRequest(f.d, {0x08, 0x04, 0x10, 0x00, 0x00, 0x01});
    exchange.send(&responseTimer, 60000, 12);
    f.receivedByPeer(12);
    f.transport.HoldTimer->start(0);
    ASSERT_TRUE(
        WaitUntil([&] { return !f.transport.HoldTimer->isActive() || f.transport.HoldTimer->remainingTime() > 1000; }));
    ASSERT_TRUE(f.transport.line().isOutstanding(&exchange));

    f.peer->write(bytes({0, 0, 0, 0, 0, 5, 0x08, 0x04, 0x02, 0x12, 0x34}));
    ASSERT_TRUE(WaitUntil([&] { return f.transport.line().state() == LineQueue::State::Idle; }));
    ASSERT_EQ(exchange.tick(), ReplyOutcome::Data);
    EXPECT_EQ(f.d.RxFrame[9], 0x12);
    EXPECT_EQ(f.d.RxFrame[10], 0x34);
}

// A window whose response timer was stopped without giving up no longer
// ticks: the hold frees the line for the next request.
TEST(TransportTcp, HoldFreesTheLineFromAWindowThatNoLongerTicks)
{
    TcpFixture f;
    f.d.Link = &f.transport;
    int retries = 0;
    Exchange stuck(f.d, retries);
    QTimer responseTimer;
    putRequest(f.d, {0x08, 0x04, 0x10, 0x00, 0x00, 0x01});
    stuck.send(&responseTimer, 60000, 12);
    f.receivedByPeer(12);
    responseTimer.stop();
    putRequest(f.d, {0x08, 0x04, 0x10, 0x00, 0x00, 0x02});
    f.d.TransactionId = 7;
    f.transport.Daten_Transfer(12); // waits behind the stuck request
    EXPECT_EQ(f.transport.line().waiting(), 1);

    f.transport.HoldTimer->start(0);
    const QByteArray next = f.receivedByPeer(12);
    EXPECT_EQ(next, bytes({0, 7, 0, 0, 0, 6, 0x08, 0x04, 0x10, 0x00, 0x00, 0x02}));
    EXPECT_FALSE(f.transport.line().isOutstanding(&stuck));
}

struct SerialFixture {
    SerialFixture()
    {
        d.setMessageSink(&sink);
        transport.setMonitor(&monitor);
        transport.SerialPort->setPortName(pty.slavePath());
        opened = transport.SerialPort->open(QIODevice::ReadWrite);
        transport.SerialPort->setBaudRate(38400);
    }
    Deklarat d;
    RecordingMessageSink sink;
    RecordingMonitor monitor;
    PtyPair pty;
    Transport transport{d};
    bool opened = false;
};

TEST(TransportSerial, SendsRequestWithCrcLowByteFirst)
{
    SerialFixture f;
    ASSERT_TRUE(f.opened);
    putRequest(f.d, {0x01, 0x03, 0x00, 0x00, 0x00, 0x01});
    f.transport.Daten_Transfer(12);
    EXPECT_EQ(f.pty.read(8), bytes({0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A}));
    EXPECT_EQ(f.d.TxFrame[12], 0x84);
    EXPECT_EQ(f.d.TxFrame[13], 0x0A);
    EXPECT_EQ(f.d.TxHexText, QStringLiteral("01 03 00 00 00 01 84 0A "));
}

TEST(TransportSerial, ReplyOfNineBytesGivesRxCountFifteen)
{
    SerialFixture f;
    ASSERT_TRUE(f.opened);
    putRequest(f.d, {0x08, 0x04, 0x01, 0x00, 0x00, 0x02});
    f.transport.Daten_Transfer(12);
    f.pty.read(8);
    const QByteArray reply = withCrc(bytes({0x08, 0x04, 0x04, 0x00, 0x01, 0x00, 0x02}));
    ASSERT_EQ(reply.size(), 9);
    f.pty.write(reply);
    ASSERT_TRUE(WaitUntil([&] { return f.d.RxCount != 0; }));
    EXPECT_EQ(f.d.RxCount, 15);
    EXPECT_EQ(f.d.RxFrame[6], 0x08);
    EXPECT_EQ(f.d.RxFrame[8], 0x04);
    EXPECT_EQ(f.d.RxFrame[12], 0x02);
    const QString all = f.monitor.receive.filter(QRegularExpression(QStringLiteral("^[0-9A-F]+$"))).join(QString());
    EXPECT_EQ(all, QString::fromLatin1(reply.toHex().toUpper()));
}

TEST(TransportSerial, CorruptCrcNeverBecomesAReply)
{
    SerialFixture f;
    ASSERT_TRUE(f.opened);
    putRequest(f.d, {0x08, 0x04, 0x01, 0x00, 0x00, 0x01});
    f.transport.Daten_Transfer(12);
    QByteArray reply = withCrc(bytes({0x08, 0x04, 0x02, 0x00, 0x01}));
    reply[reply.size() - 1] = static_cast<char>(reply.back() ^ 0x55);
    f.pty.write(reply);
    ASSERT_TRUE(WaitUntil([&] { return !f.monitor.receive.isEmpty(); }));
    RunEvents(50);
    EXPECT_EQ(f.d.RxCount, 0);
}

TEST(TransportSerial, NothingIsSentOrShownWithoutAnOpenPort)
{
    Deklarat d;
    RecordingMonitor monitor;
    Transport transport(d);
    transport.setMonitor(&monitor);
    putRequest(d, {0x08, 0x04, 0x10, 0x00, 0x00, 0x0E});
    transport.Daten_Transfer(12);
    EXPECT_TRUE(d.TxHexText.isEmpty());
    EXPECT_FALSE(transport.MonitorTimer->isActive());
    // The CRC is still stored behind the request.
    const quint16 crc = ModbusCrc16(d.TxFrame.data() + 6, 6);
    EXPECT_EQ(d.TxFrame[12], crc & 0xFF);
    EXPECT_EQ(d.TxFrame[13], crc >> 8);
}

TEST(TransportSerial, Rs485RefusedByThePtyIsNotedOnceAndThePortStaysUsable)
{
    SerialFixture f;
    ASSERT_TRUE(f.opened);
    f.transport.setRs485(true);
    f.transport.setRs485(true);
    EXPECT_EQ(f.monitor.notes.size(), 1);
    putRequest(f.d, {0x08, 0x04, 0x10, 0x00, 0x00, 0x0E});
    f.transport.Daten_Transfer(12);
    EXPECT_EQ(f.pty.read(8).size(), 8);
}

} // namespace
