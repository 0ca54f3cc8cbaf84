// The tool's transport against the running simulator, over loopback TCP and a
// socat pty pair, with the simulator's faults switched on.
#include "RecordingMonitor.h"
#include "SimHarness.h"
#include "Wait.h"
#include "app/Deklarat.h"
#include "link/Transport.h"

#include <gtest/gtest.h>

namespace
{

using simtest::PtyPair;
using simtest::SimProcess;

// Read the slot list: 14 input registers from 0x1000.
void putSlotListRequest(Deklarat &d)
{
    const quint8 request[] = {0x08, 0x04, 0x10, 0x00, 0x00, 0x0E};
    std::copy(std::begin(request), std::end(request), d.TxFrame.begin() + 6);
}

quint16 reg(const Deklarat &d, int index)
{
    return static_cast<quint16>(d.RxFrame[static_cast<size_t>(9 + 2 * index)] << 8 |
                                d.RxFrame[static_cast<size_t>(10 + 2 * index)]);
}

// The default demo station: 2,6,7,1,4,10,14,5,0.
void expectDemoSlotList(const Deklarat &d)
{
    EXPECT_EQ(d.RxFrame[7], 0x04);
    EXPECT_EQ(d.RxFrame[8], 28);
    EXPECT_EQ(reg(d, 0), 6);  // 16-bit analog inputs: 4 + 2
    EXPECT_EQ(reg(d, 1), 2);  // 32-bit analog inputs
    EXPECT_EQ(reg(d, 2), 4);  // analog outputs
    EXPECT_EQ(reg(d, 3), 12); // digital inputs: 4 + 8
    EXPECT_EQ(reg(d, 4), 12); // digital outputs: 4 + 8
    const int ids[] = {2, 6, 7, 1, 4, 10, 14, 5, 0};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(reg(d, 5 + i), ids[i]) << "slot " << i + 1;
}

struct TcpLink {
    explicit TcpLink(std::vector<std::string> extra = {})
    {
        std::vector<std::string> args = {"--tcp", "127.0.0.1:0"};
        args.insert(args.end(), extra.begin(), extra.end());
        sim = std::make_unique<SimProcess>(args);
        d.setMessageSink(&sink);
        transport.setMonitor(&monitor);
        if (sim->ready())
            transport.ClientSocket->connectToHost(QHostAddress::LocalHost, sim->port());
        connected = WaitUntil([&] { return transport.tcpOpen(); });
    }
    Deklarat d;
    RecordingMessageSink sink;
    RecordingMonitor monitor;
    Transport transport{d};
    std::unique_ptr<SimProcess> sim;
    bool connected = false;
};

TEST(TransportAgainstSimulator, TcpSlotList)
{
    TcpLink link;
    ASSERT_TRUE(link.connected);
    putSlotListRequest(link.d);
    link.d.TransactionId = 77;
    link.transport.Daten_Transfer(12);
    ASSERT_TRUE(WaitUntil([&] { return link.d.RxCount != 0; }));
    EXPECT_EQ(link.d.RxCount, 9 + 28);
    EXPECT_EQ(link.d.RxFrame[0] << 8 | link.d.RxFrame[1], 77); // transaction echoed
    EXPECT_EQ(link.d.RxFrame[6], 8);
    expectDemoSlotList(link.d);
}

TEST(TransportAgainstSimulator, TcpReplyInTwoSegmentsIsReassembled)
{
    TcpLink link({"--split", "150"});
    ASSERT_TRUE(link.connected);
    putSlotListRequest(link.d);
    link.transport.Daten_Transfer(12);
    ASSERT_TRUE(WaitUntil([&] { return link.monitor.receive.size() >= 2; }));
    EXPECT_EQ(link.d.RxCount, 0); // the first segment alone is no reply
    ASSERT_TRUE(WaitUntil([&] { return link.d.RxCount != 0; }));
    EXPECT_EQ(link.d.RxCount, 37);
    expectDemoSlotList(link.d);
    EXPECT_EQ(link.monitor.receive.size(), 4); // two receive lines, two separators
}

TEST(TransportAgainstSimulator, TcpLengthFieldThatLiesNeverBecomesAReply)
{
    TcpLink link({"--bad-length"});
    ASSERT_TRUE(link.connected);
    putSlotListRequest(link.d);
    link.transport.Daten_Transfer(12);
    ASSERT_TRUE(WaitUntil([&] { return !link.monitor.receive.isEmpty(); }));
    RunEvents(300);
    EXPECT_EQ(link.d.RxCount, 0);
}

TEST(TransportAgainstSimulator, TcpDelayedReplyArrivesLater)
{
    TcpLink link({"--delay", "400"});
    ASSERT_TRUE(link.connected);
    putSlotListRequest(link.d);
    link.transport.Daten_Transfer(12);
    RunEvents(150);
    EXPECT_EQ(link.d.RxCount, 0);
    ASSERT_TRUE(WaitUntil([&] { return link.d.RxCount != 0; }, 3000));
    expectDemoSlotList(link.d);
}

TEST(TransportAgainstSimulator, TcpExceptionReply)
{
    TcpLink link({"--exception", "4:2"});
    ASSERT_TRUE(link.connected);
    putSlotListRequest(link.d);
    link.transport.Daten_Transfer(12);
    ASSERT_TRUE(WaitUntil([&] { return link.d.RxCount != 0; }));
    EXPECT_EQ(link.d.RxCount, 9);
    EXPECT_EQ(link.d.RxFrame[7], 0x84);
    EXPECT_EQ(link.d.RxFrame[8], 2);
}

struct RtuLink {
    explicit RtuLink(std::vector<std::string> extra = {})
    {
        if (!pty.ready())
            return;
        std::vector<std::string> args = {"--rtu", pty.simSide(), "--no-stdin"};
        args.insert(args.end(), extra.begin(), extra.end());
        sim = std::make_unique<SimProcess>(args);
        d.setMessageSink(&sink);
        transport.setMonitor(&monitor);
        transport.SerialPort->setPortName(QString::fromStdString(pty.masterSide()));
        opened = sim->ready() && transport.SerialPort->open(QIODevice::ReadWrite);
        transport.SerialPort->setBaudRate(38400);
        transport.SerialPort->setParity(QSerialPort::NoParity);
        transport.SerialPort->setStopBits(QSerialPort::OneStop);
    }
    PtyPair pty;
    Deklarat d;
    RecordingMessageSink sink;
    RecordingMonitor monitor;
    Transport transport{d};
    std::unique_ptr<SimProcess> sim;
    bool opened = false;
};

TEST(TransportAgainstSimulator, RtuSlotList)
{
    RtuLink link;
    ASSERT_TRUE(link.opened);
    putSlotListRequest(link.d);
    link.transport.Daten_Transfer(12);
    ASSERT_TRUE(WaitUntil([&] { return link.d.RxCount != 0; }));
    EXPECT_EQ(link.d.RxCount, 6 + 3 + 28 + 2);
    EXPECT_EQ(link.d.RxFrame[6], 8);
    expectDemoSlotList(link.d);
}

TEST(TransportAgainstSimulator, RtuCorruptCrcEndsInNoReply)
{
    RtuLink link({"--bad-crc"});
    ASSERT_TRUE(link.opened);
    putSlotListRequest(link.d);
    link.transport.Daten_Transfer(12);
    ASSERT_TRUE(WaitUntil([&] { return !link.monitor.receive.isEmpty(); }));
    RunEvents(300);
    EXPECT_EQ(link.d.RxCount, 0);
}

TEST(TransportAgainstSimulator, RtuNoiseBeforeTheReplyIsPassedOver)
{
    RtuLink link({"--noise", "4", "--seed", "3"});
    ASSERT_TRUE(link.opened);
    for (int round = 0; round < 5; ++round) {
        putSlotListRequest(link.d);
        link.transport.Daten_Transfer(12);
        ASSERT_TRUE(WaitUntil([&] { return link.d.RxCount != 0; })) << "round " << round;
        EXPECT_EQ(link.d.RxCount, 39);
        expectDemoSlotList(link.d);
        RunEvents(20);
    }
}

TEST(TransportAgainstSimulator, RtuProcessDataLoopsOutputsBackToInputs)
{
    RtuLink link({"--slots", "1,6"});
    ASSERT_TRUE(link.opened);
    // Function 23: read 1 register from 0x0100, write 1 register at 0x0900.
    const quint8 request[] = {0x08, 0x17, 0x01, 0x00, 0x00, 0x01, 0x09, 0x00, 0x00, 0x01, 0x02, 0xA5, 0x00};
    for (int round = 0; round < 2; ++round) {
        std::copy(std::begin(request), std::end(request), link.d.TxFrame.begin() + 6);
        link.transport.Daten_Transfer(6 + sizeof request);
        ASSERT_TRUE(WaitUntil([&] { return link.d.RxCount != 0; }));
        EXPECT_EQ(link.d.RxFrame[7], 0x17);
        EXPECT_EQ(link.d.RxFrame[8], 2);
    }
    EXPECT_EQ(link.d.RxFrame[9], 0xA5); // the 8 inputs follow the 8 outputs
}

} // namespace
