// The link going wrong under the running program, with the real transport: a
// serial adapter that disappears and comes back (the socat pty pair closed
// and made again under the same name), and a coupler on TCP that resets the
// connection in the middle of a reply, accepts and never answers, refuses, or
// never answers the connect at all. Every wait ends, and the status says what
// happened.
#include "../process/StationFixture.h"
#include "DeadEndpoint.h"
#include "ProgramOnSimulator.h"
#include "Wait.h"
#include "link/TSIOTransfer.h"
#include "monitor/TVo3112CCC.h"
#include "process/AutomationController.h"
#include "process/TCont.h"
#include "station/TDeviceConfigForm.h"

#include <QTcpSocket>
#include <gtest/gtest.h>

namespace
{

using simtest::PtyPair;
using simtest::SimProcess;

const QString Lost = QStringLiteral("Schnittstelle getrennt!");
const QString NotThere = QStringLiteral("Schnittstelle nicht vorhanden!");

int boxesStartingWith(const RecordingMessageSink &sink, const QString &start)
{
    int n = 0;
    for (const MessageRequest &box : sink.boxes)
        n += box.text.startsWith(start) ? 1 : 0;
    return n;
}

class SerialAdapterLoss : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(p.ready());
        folder_ = p.pty->simSide().substr(0, p.pty->simSide().rfind('/'));
        stationfixture::LoadStation(d.StationConfig, stationfixture::DemoSlots);
        d.Cont->FormActivate();
        d.Cont->BStartClick();
        ASSERT_TRUE(WaitUntil([&] { return cycleAnswers(); }, 5000));
        ASSERT_EQ(panel1(), QStringLiteral("38400"));
    }
    void TearDown() override { d.Cont->BStopClick(); }

    bool cycleAnswers() const { return d.StationFlags & StationFlag::ProcessDataAnswered; }
    QString panel1() const { return d.Vo3112CCC->StatusBar1->panelText(1); }
    bool portOpen() const { return d.SIOTransfer->Link->SerialPort->isOpen(); }

    // The adapter pulled: the coupler's end and the pair go away.
    void pull()
    {
        p.sim.reset();
        p.pty.reset();
    }
    // Plugged in again: the same device name, a coupler behind it.
    void plugIn()
    {
        p.pty = std::make_unique<PtyPair>(folder_);
        ASSERT_TRUE(p.pty->ready());
        p.sim = std::make_unique<SimProcess>(std::vector<std::string>{"--rtu", p.pty->simSide()});
        ASSERT_TRUE(p.sim->ready());
    }

    ProgramOnSimulator p{SimLink::Rtu};
    ProgramState &d = p.d;
    RecordingMessageSink &sink = p.t.sink;
    std::string folder_;
};

TEST_F(SerialAdapterLoss, PortIsToldGoneOnceTheCycleTimesOutAndOkOpensItAgain)
{
    pull();
    ASSERT_TRUE(WaitUntil([&] { return !portOpen(); }, 5000)) << "the loss is noticed";
    EXPECT_EQ(panel1(), Lost);
    EXPECT_TRUE(d.StationFlags & StationFlag::SerialOpen) << "0x01: the port was opened once";
    ASSERT_TRUE(WaitUntil([&] { return !cycleAnswers(); }, 5000)) << "the cycle times out";
    // The cycle goes on sending into the void: still one message, no box per request.
    RunEvents(1500);
    EXPECT_EQ(d.Cont->CycleRunning, 1);
    EXPECT_TRUE(d.Cont->Anfrage->isActive() || d.Cont->Antwort->isActive());
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_TRUE(sink.boxes[0].text.startsWith(Lost)) << sink.boxes[0].text.toStdString();
    EXPECT_TRUE(sink.boxes[0].kind == MessageKind::Error);

    // OK while the device is still away: told so, and the panel shows no baud
    // rate of a closed port.
    d.SIOTransfer->OKClick();
    EXPECT_EQ(boxesStartingWith(sink, NotThere), 1);
    EXPECT_FALSE(portOpen());
    EXPECT_EQ(panel1(), Lost);

    plugIn();
    sink.clear();
    d.SIOTransfer->OKClick();
    EXPECT_TRUE(portOpen());
    EXPECT_EQ(panel1(), QStringLiteral("38400"));
    EXPECT_TRUE(WaitUntil([&] { return cycleAnswers(); }, 5000)) << "the running cycle is answered again";
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(SerialAdapterLoss, RestartThroughThePipeOpensThePortOnceTheDeviceIsBack)
{
    pull();
    ASSERT_TRUE(WaitUntil([&] { return !portOpen(); }, 5000));
    sink.clear();

    // Asked while the device is away: the run cannot open the port, so the
    // restart is not over, and no box comes per attempt.
    p.t.station.automation->AutoRestart();
    EXPECT_TRUE(d.StationFlags & StationFlag::RestartUnderWay);
    RunEvents(7000);
    EXPECT_FALSE(portOpen());
    EXPECT_TRUE(d.StationFlags & StationFlag::RestartUnderWay) << "no restart reported done without a port";
    EXPECT_TRUE(d.StationFlags & StationFlag::SerialOpen);
    EXPECT_EQ(panel1(), Lost);
    EXPECT_TRUE(sink.boxes.empty()) << sink.boxes.front().text.toStdString();

    plugIn();
    EXPECT_TRUE(WaitUntil(
        [&] { return portOpen() && !(d.StationFlags & StationFlag::RestartUnderWay) && cycleAnswers(); }, 20000));
    EXPECT_EQ(panel1(), QStringLiteral("38400"));
    EXPECT_TRUE(sink.boxes.empty());
}

struct TcpFault : ::testing::Test {
    void SetUp() override
    {
        io.CBoShowMessage->setChecked(true);
        io.CBoEthernet->setChecked(true);
        io.CBoEthernetClick();
        io.CBAdresse->setEditText(QStringLiteral("127.0.0.1"));
    }
    void open(quint16 port)
    {
        io.SEPort->setValue(port);
        io.OKClick();
    }
    QString panel1() const { return d.Vo3112CCC->StatusBar1->panelText(1); }
    QTcpSocket &socket() const { return *io.Link->ClientSocket; }
    QString memo() const { return d.DeviceConfigForm->MDataTransfer->toPlainText(); }
    // The configuration read gave up: its memo says so and no timer waits on.
    bool configReadTimedOut() const
    {
        const TDeviceConfigForm &w = *d.DeviceConfigForm;
        return memo().contains(QStringLiteral("Antwort : Timeout")) && !w.TimerIdentity->isActive() &&
               !w.TimerSlotList->isActive();
    }
    QStringList boxTexts() const
    {
        QStringList texts;
        for (const MessageRequest &box : t.sink.boxes)
            texts << box.text;
        return texts;
    }

    TestStation t;
    ProgramState &d = t.d;
    TSIOTransfer &io = *d.SIOTransfer;
};

TEST_F(TcpFault, ResetInTheMiddleOfAReplyEndsTheConnectionAndTheReadTimesOut)
{
    SimProcess coupler({"--tcp", "127.0.0.1:0", "--reset-mid-reply"});
    ASSERT_TRUE(coupler.ready());
    open(coupler.port());
    ASSERT_TRUE(WaitUntil([&] { return d.TcpConnected == 1; }, 5000));
    t.sink.clear();
    d.DeviceConfigForm->BReadConfigClick();
    ASSERT_TRUE(WaitUntil([&] { return d.TcpConnected == 0; }, 5000)) << "the reset is a disconnection";
    EXPECT_EQ(panel1(), QString());
    EXPECT_FALSE(d.StationFlags & StationFlag::TcpUp);
    EXPECT_TRUE(io.OK->isEnabled());
    // The half reply never reaches the window: its wait ends in a timeout.
    ASSERT_TRUE(WaitUntil([&] { return configReadTimedOut(); }, 10000)) << memo().toStdString();
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("Ethernet - Port disconnected")});
    EXPECT_NE(d.StationConfig.ConfigValid, 1);
}

TEST_F(TcpFault, CouplerThatAcceptsAndNeverAnswersEndsInTimeoutWithTheLinkUp)
{
    SimProcess coupler({"--tcp", "127.0.0.1:0", "--drop", "100"});
    ASSERT_TRUE(coupler.ready());
    open(coupler.port());
    ASSERT_TRUE(WaitUntil([&] { return d.TcpConnected == 1; }, 5000));
    EXPECT_EQ(panel1(), QStringLiteral("TCP/IP"));
    t.sink.clear();
    d.DeviceConfigForm->BReadConfigClick();
    ASSERT_TRUE(WaitUntil([&] { return configReadTimedOut(); }, 10000)) << memo().toStdString();
    EXPECT_TRUE(t.sink.boxes.empty());
    EXPECT_NE(d.StationConfig.ConfigValid, 1);
    EXPECT_EQ(d.TcpConnected, 1);
    EXPECT_EQ(panel1(), QStringLiteral("TCP/IP"));
}

// Refused at once, or no answer to the connect within the connect time: both
// end as an error the user is told of, and OK can be pressed again.
TEST_F(TcpFault, RefusedOrUnansweredConnectEndsAsAnError)
{
    for (bool refuse : {true, false}) {
        SCOPED_TRACE(refuse ? "refused" : "never answers");
        DeadEndpoint coupler(refuse);
        ASSERT_NE(coupler.port(), 0);
        t.sink.clear();
        d.StationFlags = 0;
        open(coupler.port());
        ASSERT_TRUE(
            WaitUntil([&] { return (d.StationFlags & StationFlag::SocketError) != 0; }, io.ConnectTimeoutMs + 5000));
        EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("Ethernet - Port error")});
        if (refuse) {
            EXPECT_EQ(socket().error(), QAbstractSocket::ConnectionRefusedError);
        }
        // The box text stays as it is; the send monitor says where and why.
        const QString where = QStringLiteral("127.0.0.1:%1").arg(coupler.port());
        const QString why =
            refuse ? QStringLiteral("refused") : QStringLiteral("keine Antwort auf den Verbindungsaufbau");
        d.Vo3112CCC->flushMonitor();
        const QString monitor = d.Vo3112CCC->Transmit->toPlainText();
        EXPECT_TRUE(monitor.contains(QStringLiteral("Ethernet - Port error (") + where)) << monitor.toStdString();
        EXPECT_TRUE(monitor.contains(why, Qt::CaseInsensitive)) << monitor.toStdString();
        EXPECT_EQ(socket().state(), QAbstractSocket::UnconnectedState);
        EXPECT_EQ(d.TcpConnected, 0);
        EXPECT_EQ(panel1(), QString());
        EXPECT_TRUE(io.OK->isEnabled());
        EXPECT_FALSE(io.ConnectTimer->isActive());
    }
}

} // namespace
