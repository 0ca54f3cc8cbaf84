// The traffic statistics against the running simulator with its faults
// switched on, over TCP and over a serial line: every request, reply,
// exception, give-up and rejected frame is counted exactly once.
#include "ProgramOnSimulator.h"
#include "Wait.h"
#include "app/Deklarat.h"
#include "link/Exchange.h"
#include "link/Transport.h"
#include "monitor/TStatistik.h"
#include "monitor/TVo3112CCC.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

namespace
{

// A window's request through the shared link: send, then tick until it is decided.
struct Asker {
    explicit Asker(ProgramState &d) : d(d)
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const ReplyOutcome o = exchange.tick();
            if (o != ReplyOutcome::Pending && o != ReplyOutcome::Idle)
                outcome = o;
        });
    }
    std::optional<ReplyOutcome> ask(const std::vector<quint8> &pdu)
    {
        std::copy(pdu.begin(), pdu.end(), d.TxFrame.begin() + 6);
        outcome.reset();
        exchange.send(&timer, 50, static_cast<quint8>(6 + pdu.size()));
        WaitUntil([&] { return outcome.has_value(); }, 5000);
        return outcome;
    }
    ProgramState &d;
    int retries = 0;
    Exchange exchange{d, retries};
    QTimer timer;
    std::optional<ReplyOutcome> outcome;
};

const std::vector<quint8> SlotListRead = {8, 4, 0x10, 0x00, 0x00, 0x0E};
const std::vector<quint8> AlarmMaskWrite = {8, 6, 0x15, 0x01, 0x00, 0x00};

class TrafficAgainstSimulator : public ::testing::TestWithParam<SimLink>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(p.ready());
        ASSERT_NE(d.Statistik, nullptr);
        d.Statistik->BResetClick();
    }
    void askTimes(int n, const std::vector<quint8> &pdu, ReplyOutcome expected)
    {
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(asker.ask(pdu), expected) << "request " << i;
    }
    ProgramOnSimulator p{GetParam()};
    ProgramState &d = p.d;
    Asker asker{d};
};

TEST_P(TrafficAgainstSimulator, CountsEveryOutcomeExactly)
{
    askTimes(5, SlotListRead, ReplyOutcome::Data);
    askTimes(1, AlarmMaskWrite, ReplyOutcome::Data);

    ASSERT_EQ(p.sim->command("exception 4 2"), "ok\n");
    askTimes(3, SlotListRead, ReplyOutcome::Exception);
    ASSERT_EQ(p.sim->command("exception 4 0"), "ok\n");

    ASSERT_EQ(p.sim->command("drop 100"), "ok\n");
    askTimes(2, SlotListRead, ReplyOutcome::TimedOut);
    ASSERT_EQ(p.sim->command("drop 0"), "ok\n");

    // A damaged reply: its bytes arrive but never form a frame.
    const std::string damage = GetParam() == SimLink::Rtu ? "bad-crc" : "bad-length";
    ASSERT_EQ(p.sim->command(damage + " on"), "ok\n");
    askTimes(2, SlotListRead, ReplyOutcome::TimedOut);
    ASSERT_EQ(p.sim->command("faults off"), "ok\n");

    askTimes(1, SlotListRead, ReplyOutcome::Data);

    const TrafficStatistics &s = d.Statistik->statistics();
    EXPECT_EQ(s.functions(), (std::vector<int>{4, 6}));
    const FunctionTraffic reads = s.of(4);
    EXPECT_EQ(reads.requests, 13u);
    EXPECT_EQ(reads.replies, 9u);
    EXPECT_EQ(reads.exceptions, (std::map<int, quint64>{{2, 3}}));
    EXPECT_EQ(reads.givenUp, 4u);
    EXPECT_EQ(reads.rejected, 2u);
    const FunctionTraffic writes = s.of(6);
    EXPECT_EQ(writes.requests, 1u);
    EXPECT_EQ(writes.replies, 1u);
    EXPECT_EQ(writes.givenUp + writes.rejected, 0u);

    // One round trip per reply, in order.
    const RoundTripSummary r = s.roundTrip(4);
    EXPECT_EQ(r.count, 9);
    EXPECT_GT(r.minimum, 0);
    EXPECT_LE(r.minimum, r.median);
    EXPECT_LE(r.median, r.p99);
    EXPECT_LE(r.p99, r.maximum);

    // The window's table, its copy and the sum in the main window.
    d.Statistik->show();
    d.Statistik->RefreshTimerTimer();
    QTableWidget *table = d.Statistik->SGStatistik;
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(0, 0)->text(), u"4"_qs);
    EXPECT_EQ(table->item(0, 1)->text(), u"13"_qs);
    EXPECT_EQ(table->item(0, 3)->text(), u"2:3"_qs);
    EXPECT_EQ(table->item(2, 0)->text(), u"Summe"_qs);
    EXPECT_EQ(table->item(2, 1)->text(), u"14"_qs);
    EXPECT_EQ(d.Vo3112CCC->LTraffic->text(), u"Anfragen 14, Antworten 10, Ausnahmen 3, Timeouts 4, verworfen 2"_qs);
    d.Statistik->BCopyClick();
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith(u"Funktion\tAnfragen\tAntworten\t"_qs)) << copied.toStdString();
    EXPECT_TRUE(copied.contains(u"\n4\t13\t9\t2:3\t4\t2\t"_qs)) << copied.toStdString();

    SelectLanguage(d, 1);
    EXPECT_EQ(d.Statistik->windowTitle(), u"Statistics"_qs);
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), u"Requests"_qs);
    EXPECT_EQ(d.Vo3112CCC->LTraffic->text(), u"Requests 14, replies 10, exceptions 3, timeouts 4, rejected 2"_qs);

    d.Statistik->BResetClick();
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_EQ(d.Statistik->statistics().total().requests, 0u);
    d.Statistik->hide();
}

// The serial port closed under the program: the windows go on asking, but
// nothing goes out, so nothing is counted.
TEST(TrafficWhileTheLinkIsDown, RequestsThatNeverWentOutAreNotCounted)
{
    ProgramOnSimulator p(SimLink::Rtu);
    ASSERT_TRUE(p.ready());
    ProgramState &d = p.d;
    d.Statistik->BResetClick();
    Asker asker(d);
    for (int i = 0; i < 2; ++i)
        ASSERT_EQ(asker.ask(SlotListRead), ReplyOutcome::Data) << i;
    d.Link->SerialPort->close();
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(asker.ask(SlotListRead), ReplyOutcome::TimedOut) << i;
    const FunctionTraffic reads = d.Statistik->statistics().of(4);
    EXPECT_EQ(reads.requests, 2u);
    EXPECT_EQ(reads.replies, 2u);
    EXPECT_EQ(reads.givenUp, 0u);
    EXPECT_EQ(reads.rejected, 0u);
    EXPECT_EQ(p.requestsOf(4), 2);
}

INSTANTIATE_TEST_SUITE_P(Links, TrafficAgainstSimulator, ::testing::Values(SimLink::Tcp, SimLink::Rtu),
                         [](const auto &info) { return SimLinkName(info.param); });

} // namespace
