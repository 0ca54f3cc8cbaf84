// The link going away and coming back under a running program, with boxes
// left open while it happens and clicked away afterwards: a restart through
// the pipe, and a coupler that vanishes and returns while the cycle runs,
// each twice in a row. The program must live through it and cycle again.
//
// Notice boxes are real QMessageBoxes here (offscreen); other boxes are held
// open, running the event loop as a modal box does, until the test lets them
// go, so that a connection box turned modal again would show the fault.
#include "ProgramOnSimulator.h"
#include "Wait.h"
#include "link/TSIOTransfer.h"
#include "link/Transport.h"
#include "monitor/TVo3112CCC.h"
#include "process/AutomationController.h"
#include "process/PipeMessages.h"
#include "process/TCont.h"
#include "station/TDeviceConfigForm.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace
{

using simtest::SimProcess;

// A modal box held open: it runs the event loop, as the real one does, until
// the user lets it go. Notices are real, non-modal QMessageBoxes.
struct HoldingSink : RecordingMessageSink {
    MessageButton show(const MessageRequest &request) override
    {
        RecordingMessageSink::show(request);
        WaitUntil([&] { return letGo; }, 60000);
        return answer;
    }
    void notice(const MessageRequest &request) override
    {
        RecordingMessageSink::notice(request);
        screen.notice(request);
    }
    DialogMessageSink screen;
    bool letGo = false;
};

std::vector<QMessageBox *> openBoxes()
{
    std::vector<QMessageBox *> boxes;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            boxes.push_back(box);
    return boxes;
}

// What the user does, step by step, from a timer: it goes on in whatever
// event loop runs, the program's own or that of a box held open. A step's
// action runs once its condition holds.
class UserScript
{
public:
    struct Step {
        std::function<bool()> when;
        std::function<void()> action = [] {};
        const char *what;
    };
    explicit UserScript(std::vector<Step> steps) : steps_(std::move(steps))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start(20);
    }
    bool finished() const { return next_ >= steps_.size(); }
    // The step it waits at, for the failure message.
    std::string waitingAt() const { return finished() ? "done" : steps_[next_].what; }

private:
    void tick()
    {
        if (finished() || !steps_[next_].when())
            return;
        // Moved on before acting: the action may open a box whose loop ticks again.
        steps_[next_++].action();
    }
    std::vector<Step> steps_;
    size_t next_ = 0;
    QTimer timer_;
};

class LinkComesAndGoes : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(p.ready());
        d.setMessageSink(&sink);
        d.CommandLine.AutoStart = unattended();
        d.SIOTransfer->CBoShowMessage->setChecked(true);
        d.DeviceConfigForm->BReadConfigClick();
        ASSERT_TRUE(WaitUntil([&] { return d.StationConfig.ConfigValid == 1; }, 8000));
        d.Cont->FormActivate();
        d.Cont->BStartClick();
        ASSERT_TRUE(WaitUntil([&] { return cycling(); }, 8000));
    }
    void TearDown() override
    {
        sink.letGo = true;
        clickBoxesAway();
        d.Cont->BStopClick();
        d.setMessageSink(&p.t.sink);
    }

    bool unattended() const { return GetParam(); }
    bool answering() const { return (d.StationFlags & StationFlag::ProcessDataAnswered) != 0; }
    bool cycling() const
    {
        return answering() && d.TcpConnected == 1 && !(d.StationFlags & StationFlag::RestartUnderWay);
    }
    // Steps: the cycle is answered, then five more requests reach the coupler.
    std::vector<UserScript::Step> cyclesAgain(const char *what)
    {
        return {{[this] { return cycling(); }, [this] { mark_ = p.requestsOf(23); }, what},
                {[this] { return p.requestsOf(23) >= mark_ + 5; }, [] {}, what}};
    }
    UserScript::Step clickBoxesAwayStep()
    {
        return {[] { return true; }, [this] { clickBoxesAway(); }, "boxes clicked away"};
    }
    void clickBoxesAway()
    {
        sink.letGo = true;
        for (QMessageBox *box : openBoxes())
            box->button(QMessageBox::Ok)->click();
    }
    // `steps` take the link away and back; then the cycle must run again with
    // the boxes open, and again once they are clicked away.
    void runThenClickBoxesAway(std::vector<UserScript::Step> steps, bool restart)
    {
        for (const auto &step : cyclesAgain("cycling again, boxes still open"))
            steps.push_back(step);
        steps.push_back(
            {[] { return true; }, [this, restart] { expectConnectionMessagesShownRightly(restart); }, "boxes seen"});
        steps.push_back(clickBoxesAwayStep());
        for (const auto &step : cyclesAgain("cycling after the boxes were clicked away"))
            steps.push_back(step);
        run(std::move(steps));
    }
    void run(std::vector<UserScript::Step> steps)
    {
        UserScript user(std::move(steps));
        EXPECT_TRUE(WaitUntil([&] { return user.finished(); }, 60000)) << "waiting at: " << user.waitingAt();
    }
    QString sendMonitor() const
    {
        d.Vo3112CCC->flushMonitor();
        return d.Vo3112CCC->Transmit->toPlainText();
    }
    int connectionBoxes() const
    {
        int n = 0;
        for (const MessageRequest &box : sink.boxes)
            n += box.text.startsWith(QStringLiteral("Ethernet - Port")) ? 1 : 0;
        return n;
    }
    // Unattended (AUTO, or a restart another program asked for), the
    // connection messages go to the send monitor; otherwise they are notices,
    // at most one open.
    void expectConnectionMessagesShownRightly(bool restart)
    {
        if (unattended() || restart) {
            EXPECT_EQ(connectionBoxes(), 0);
            EXPECT_TRUE(sendMonitor().contains(QStringLiteral("Ethernet - Port disconnected")))
                << sendMonitor().toStdString();
            EXPECT_TRUE(sendMonitor().contains(QStringLiteral("Ethernet - Port connected")));
        } else {
            EXPECT_GE(connectionBoxes(), 2);
            for (const MessageRequest &box : sink.boxes)
                EXPECT_TRUE(box.notice) << box.text.toStdString();
            EXPECT_LE(openBoxes().size(), 1u);
        }
    }

    ProgramOnSimulator p{SimLink::Tcp, {"--restart-ms", "1500"}};
    ProgramState &d = p.d;
    HoldingSink sink;
    long mark_ = 0;
};

TEST_P(LinkComesAndGoes, RestartThroughThePipeWithBoxesClickedAwayAfterwards)
{
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        sink.clear();
        sink.letGo = false;
        d.Vo3112CCC->ClearClick();
        const long restarts = p.requestsOf(0x2A);
        std::vector<UserScript::Step> steps = {
            {[this] { return true; }, [this] { p.t.station.automation->ApplyPipeRequest(BuildPipeRequest({}, 0x01)); },
             "restart asked through the pipe"},
            {[&] { return p.requestsOf(0x2A) == restarts + 1; }, [] {}, "restart command at the coupler"}};
        runThenClickBoxesAway(std::move(steps), true);
        EXPECT_TRUE(openBoxes().empty());
    }
}

TEST_P(LinkComesAndGoes, CouplerGoneAndBackWhileCyclingThenOkThenBoxesClickedAway)
{
    const quint16 port = p.sim->port();
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        sink.clear();
        sink.letGo = false;
        d.Vo3112CCC->ClearClick();
        std::vector<UserScript::Step> steps = {
            {[] { return true; }, [this] { p.sim.reset(); }, "the coupler goes"},
            {[this] { return d.TcpConnected == 0 && !answering(); },
             [&] {
                 p.sim = std::make_unique<SimProcess>(
                     std::vector<std::string>{"--tcp", "127.0.0.1:" + std::to_string(port), "--restart-ms", "1500"});
             },
             "the cycle sees no answer"},
            {[this] { return p.sim->ready(); }, [this] { d.SIOTransfer->OKClick(); },
             "the coupler is back: the user presses OK, the box still open"}};
        runThenClickBoxesAway(std::move(steps), false);
        EXPECT_EQ(d.Cont->CycleRunning, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Both, LinkComesAndGoes, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return info.param ? "Unattended" : "WithBoxes";
                         });

// A second notice while the first is open takes its place: one box on screen.
TEST(NoticeBox, ANewNoticeReplacesTheOpenOne)
{
    DialogMessageSink sink;
    MessageRequest first{MessageKind::Information, QString(), QStringLiteral("Ethernet - Port disconnected")};
    MessageRequest second{MessageKind::Information, QString(), QStringLiteral("Ethernet - Port connected")};
    sink.notice(first);
    sink.notice(second);
    ASSERT_EQ(openBoxes().size(), 1u);
    EXPECT_EQ(openBoxes().front()->text(), second.text);
    EXPECT_FALSE(openBoxes().front()->isModal());
    openBoxes().front()->button(QMessageBox::Ok)->click();
    RunEvents(50);
    EXPECT_TRUE(openBoxes().empty());
    sink.notice(first);
    EXPECT_EQ(openBoxes().size(), 1u) << "a new one after the old was clicked away";
}

} // namespace
