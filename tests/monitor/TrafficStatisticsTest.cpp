#include "monitor/TrafficStatistics.h"

#include "Wait.h"
#include "app/Deklarat.h"
#include "app/Messages.h"
#include "link/Exchange.h"
#include "link/Transport.h"

#include <QLocale>
#include <QTcpServer>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{

TEST(TrafficStatistics, CountsPerFunctionAndTotal)
{
    TrafficStatistics s;
    for (int i = 0; i < 3; ++i)
        s.requestSent(23);
    s.replyReceived(23, -1, 1000);
    s.replyReceived(23, 2, 3000);
    s.givenUp(23);
    s.rejected(23);
    s.requestSent(4);
    s.replyReceived(4, 2, 500);
    s.requestSent(6);
    s.replyReceived(6, 4, 700);

    EXPECT_EQ(s.functions(), (std::vector<int>{4, 6, 23}));
    const FunctionTraffic cycle = s.of(23);
    EXPECT_EQ(cycle.requests, 3u);
    EXPECT_EQ(cycle.replies, 2u);
    EXPECT_EQ(cycle.exceptions, (std::map<int, quint64>{{2, 1}}));
    EXPECT_EQ(cycle.givenUp, 1u);
    EXPECT_EQ(cycle.rejected, 1u);
    const FunctionTraffic all = s.total();
    EXPECT_EQ(all.requests, 5u);
    EXPECT_EQ(all.replies, 4u);
    EXPECT_EQ(all.exceptions, (std::map<int, quint64>{{2, 2}, {4, 1}}));
    EXPECT_EQ(all.exceptionTotal(), 3u);
    EXPECT_EQ(s.of(16).requests, 0u); // never seen

    s.reset();
    EXPECT_TRUE(s.functions().empty());
    EXPECT_EQ(s.total().requests, 0u);
    EXPECT_EQ(s.roundTripTotal().count, 0);
}

TEST(TrafficStatistics, RoundTripQuantilesByNearestRank)
{
    struct Case {
        std::vector<qint64> samples;
        qint64 minimum, median, p99, maximum;
    };
    std::vector<qint64> hundred;
    for (int i = 100; i >= 1; --i)
        hundred.push_back(i * 10); // 10 .. 1000, in falling order
    const Case cases[] = {
        {{}, 0, 0, 0, 0},        {{42}, 42, 42, 42, 42},        {{5, 1}, 1, 1, 5, 5},
        {{3, 1, 2}, 1, 2, 3, 3}, {hundred, 10, 500, 990, 1000},
    };
    for (const Case &c : cases) {
        TrafficStatistics s;
        for (qint64 us : c.samples)
            s.replyReceived(3, -1, us);
        const RoundTripSummary r = s.roundTrip(3);
        EXPECT_EQ(r.count, static_cast<qint64>(c.samples.size()));
        EXPECT_EQ(r.minimum, c.minimum) << c.samples.size();
        EXPECT_EQ(r.median, c.median) << c.samples.size();
        EXPECT_EQ(r.p99, c.p99) << c.samples.size();
        EXPECT_EQ(r.maximum, c.maximum) << c.samples.size();
    }
}

TEST(TrafficStatistics, RoundTripMemoryStaysBounded)
{
    TrafficStatistics s;
    // One early slow reply, then many fast ones: the extremes are kept over
    // all, the quantiles follow the recent window only.
    s.replyReceived(23, -1, 900000);
    const int n = 3 * TrafficStatistics::RoundTripWindow;
    for (int i = 0; i < n; ++i)
        s.replyReceived(23, -1, 2000 + (i % 2));
    const RoundTripSummary r = s.roundTrip(23);
    EXPECT_EQ(r.count, n + 1);
    EXPECT_EQ(r.maximum, 900000);
    EXPECT_EQ(r.minimum, 2000);
    EXPECT_EQ(r.p99, 2001);
    EXPECT_EQ(s.of(23).replies, static_cast<quint64>(n + 1));
}

ModbusBuffer frame(std::initializer_list<quint8> pdu)
{
    ModbusBuffer b{};
    std::copy(pdu.begin(), pdu.end(), b.begin() + ModbusHeaderSize);
    return b;
}

TEST(TrafficRecorder, ChargesEachEventToTheRequestOut)
{
    TrafficRecorder r;
    r.sent(frame({8, 4, 0x10, 0, 0, 14}), 12);
    r.answered(frame({8, 4, 28}), 6 + 33);
    r.sent(frame({8, 23}), 17);
    r.answered(frame({8, 0x97, 2}), 6 + 5);
    r.answered(frame({8, 0x97, 2}), 6 + 5); // once only
    r.sent(frame({8, 6, 0x15, 0, 0xFF, 0xFF}), 12);
    r.rejected();
    r.gaveUp();
    r.gaveUp();            // once only
    r.rejected();          // a late frame after the give-up: still the last request's
    r.sent(frame({8}), 7); // no function code: counted nowhere
    r.answered(frame({8, 4, 2, 0, 1}), 6 + 7);
    r.rejected();

    const TrafficStatistics &s = r.statistics;
    EXPECT_EQ(s.functions(), (std::vector<int>{0, 4, 6, 23}));
    EXPECT_EQ(s.of(4).replies, 1u);
    EXPECT_EQ(s.of(4).requests, 1u);
    EXPECT_EQ(s.of(23).replies, 1u);
    EXPECT_EQ(s.of(23).exceptions, (std::map<int, quint64>{{2, 1}}));
    EXPECT_EQ(s.of(6).requests, 1u);
    EXPECT_EQ(s.of(6).replies, 0u);
    EXPECT_EQ(s.of(6).givenUp, 1u);
    EXPECT_EQ(s.of(6).rejected, 2u);
    EXPECT_EQ(s.of(0).rejected, 1u); // after a frame without function code
    EXPECT_EQ(s.of(0).replies, 0u);
    EXPECT_EQ(s.roundTrip(4).count, 1);
}

// A request handed over while no link is open goes nowhere: it is no request
// of the line, and running out of checks is no give-up of one.
TEST(TrafficRecorder, CountsOnlyRequestsThatWentOut)
{
    Deklarat d;
    RecordingMessageSink sink;
    d.setMessageSink(&sink);
    Transport transport(d);
    d.Link = &transport;
    TrafficRecorder recorder;
    transport.setTrafficObserver(&recorder);
    d.RetryLimit = 1;
    int retries = 0;
    Exchange exchange(d, retries);
    QTimer timer;
    auto askUnanswered = [&] {
        const quint8 read[] = {8, 4, 0x10, 0x00, 0x00, 0x0E};
        std::copy(std::begin(read), std::end(read), d.TxFrame.begin() + 6);
        exchange.send(&timer, 20, 12);
        ReplyOutcome outcome = ReplyOutcome::Pending;
        while (outcome == ReplyOutcome::Pending)
            outcome = exchange.tick();
        return outcome;
    };

    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(askUnanswered(), ReplyOutcome::TimedOut) << i;
    EXPECT_EQ(recorder.statistics.total().requests, 0u);
    EXPECT_EQ(recorder.statistics.total().givenUp, 0u);
    EXPECT_TRUE(recorder.statistics.functions().empty());

    // A coupler that takes the requests and never answers.
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    transport.ClientSocket->connectToHost(QHostAddress::LocalHost, server.serverPort());
    ASSERT_TRUE(WaitUntil([&] { return transport.tcpOpen(); }));
    for (int i = 0; i < 2; ++i)
        ASSERT_EQ(askUnanswered(), ReplyOutcome::TimedOut) << i;
    EXPECT_EQ(recorder.statistics.of(4).requests, 2u);
    EXPECT_EQ(recorder.statistics.of(4).givenUp, 2u);

    // Down again: the counts stay.
    transport.ClientSocket->abort();
    ASSERT_FALSE(transport.tcpOpen());
    ASSERT_EQ(askUnanswered(), ReplyOutcome::TimedOut);
    EXPECT_EQ(recorder.statistics.total().requests, 2u);
    EXPECT_EQ(recorder.statistics.total().givenUp, 2u);
    EXPECT_TRUE(sink.boxes.empty());
}

TEST(TrafficRows, CellsAndCopyText)
{
    TrafficStatistics s;
    s.requestSent(4);
    s.requestSent(4);
    s.replyReceived(4, 3, 1500);
    s.givenUp(4);
    const std::vector<QStringList> rows = TrafficRows(s, QStringLiteral("Total"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].mid(0, 6), (QStringList{"4", "2", "1", "3:1", "1", "0"}));
    EXPECT_EQ(rows[1][0], QStringLiteral("Total"));
    EXPECT_EQ(rows[0][6], QLocale::system().toString(1.5, 'f', 2));
    const QString text = TrafficText({"F", "N"}, {{"4", "2"}});
    EXPECT_EQ(text, QStringLiteral("F\tN\n4\t2\n"));
    // No replies: no round trip to show.
    TrafficStatistics silent;
    silent.requestSent(23);
    EXPECT_EQ(TrafficRows(silent, QStringLiteral("T"))[0][7], QStringLiteral("-"));
}

} // namespace
