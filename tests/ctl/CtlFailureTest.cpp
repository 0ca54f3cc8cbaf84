// vo3112ctl's exit status when the link or the coupler fails it, and for
// usage errors: 3 without a link or a reply, and that no later than about
// (RetryLimit + 1) periods; 2 for what it cannot understand, before it
// touches the line.
#include "CtlProcess.h"
#include "CtlStation.h"
#include "DeadEndpoint.h"

#include <QTcpServer>

#include <gtest/gtest.h>

namespace
{

QStringList Words(const char *line)
{
    return QString::fromLatin1(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// Nothing listens (refused at once), or the listener's backlog is full (the
// connect is never answered and its timer ends it).
TEST(CtlFailure, PortWithoutCouplerIsNoLink)
{
    for (const bool refuse : {true, false}) {
        SCOPED_TRACE(refuse ? "refused" : "never accepted");
        DeadEndpoint dead(refuse);
        ASSERT_NE(dead.port(), 0);
        const CtlRun r = RunCtl({"--json", "--tcp", TcpOf(dead.port()), "identify"});
        EXPECT_EQ(r.exit, 3);
        EXPECT_EQ(r.json().value("exit").toInt(), 3);
        EXPECT_TRUE(r.json().value("error").toString().contains("Ethernet - Port error")) << r.out.constData();
        EXPECT_FALSE(r.err.isEmpty());
        // The window's connect timer, 5 s, bounds the wait.
        EXPECT_LT(r.ms, 3 * 5000);
    }
}

TEST(CtlFailure, MissingSerialDeviceIsNoLinkInTheRunsLanguage)
{
    for (const auto &[lang, text] :
         {std::pair{"de", "Schnittstelle nicht vorhanden!"}, std::pair{"en", "Interface not available!"}}) {
        const CtlRun r = RunCtl({"--json", "--lang", lang, "--serial", "/dev/vo3112-none:9600:2", "config"});
        EXPECT_EQ(r.exit, 3) << lang;
        EXPECT_TRUE(r.json().value("error").toString().contains(text)) << r.out.constData();
    }
}

// How long a request waits in vain: (RetryLimit + 1) periods.
struct SilentCase {
    const char *name;
    CtlLink link;
    const char *verb;
    int expectedMs;
};

class CtlSilent : public ::testing::TestWithParam<SilentCase>
{
};

// The simulator answers unit 8 only: unit 9 never gets a reply.
TEST_P(CtlSilent, SilentUnitEndsAfterItsPeriods)
{
    const SilentCase &c = GetParam();
    CtlStation station(c.link);
    ASSERT_TRUE(station.ready());
    const CtlRun r = RunCtl(station.linkOptions() + QStringList{"--json", "--unit", "9"} + Words(c.verb));
    EXPECT_EQ(r.exit, 3) << r.err.constData();
    EXPECT_EQ(r.json().value("error").toString(), "Timeout");
    EXPECT_GE(r.ms, c.expectedMs * 9 / 10);
    // Loaded machines are slow, but a run that waited much longer is a fault.
    EXPECT_LT(r.ms, c.expectedMs * 3);
}

INSTANTIATE_TEST_SUITE_P(Links, CtlSilent,
                         ::testing::Values(SilentCase{"TcpIdentify", CtlLink::Tcp, "identify", 6 * 600},
                                           SilentCase{"TcpRead", CtlLink::Tcp, "read 0x1500 1", 6 * 100},
                                           SilentCase{"RtuConfig", CtlLink::Rtu, "config", 3 * 600},
                                           SilentCase{"RtuErrors", CtlLink::Rtu, "errors", 3 * 600},
                                           SilentCase{"RtuRead", CtlLink::Rtu, "read 0x1500 1", 3 * 100}),
                         [](const auto &info) { return info.param.name; });

// A loopback listener that takes the connection and never answers.
TEST(CtlFailure, AddressThatNeverAnswersIsNoReply)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    const CtlRun r = RunCtl({"--json", "--tcp", TcpOf(server.serverPort()), "read", "0x1000", "14"});
    EXPECT_EQ(r.exit, 3);
    EXPECT_EQ(r.json().value("error").toString(), "Timeout");
    EXPECT_LT(r.ms, 6 * 100 * 3);
}

TEST(CtlFailure, UnitOptionReachesAnotherUnit)
{
    CtlStation station(CtlLink::Tcp, {"--unit", "17"});
    ASSERT_TRUE(station.ready());
    const CtlRun r = RunCtl(station.linkOptions() + QStringList{"--json", "--unit", "17", "identify"});
    EXPECT_EQ(r.exit, 0) << r.err.constData();
    EXPECT_EQ(r.json().value("product").toString(), "VO3112-T");
}

// Usage errors end with 2 before any request: the link given is a port
// nobody listens on, which would be exit 3.
TEST(CtlFailure, UsageErrorsExitTwo)
{
    DeadEndpoint refused(true);
    const QStringList link = {"--tcp", TcpOf(refused.port())};
    const char *cases[] = {
        "frobnicate",
        "",
        "read 0x1000 126",
        "read 0x1000 0",
        "read 0x1000 -1",
        "read 0x1000",
        "read 0x10000 1",
        "read zz 1",
        "read 0x1000 1 2",
        "--unit 0 identify",
        "--unit 248 identify",
        "--unit 0x08 identify",
        "--unit",
        "--bogus identify",
        "--lang fr identify",
        "identify extra",
        "config --hold 5",
    };
    for (const char *c : cases) {
        const CtlRun r = RunCtl(link + QStringList{"--json"} + Words(c));
        EXPECT_EQ(r.exit, 2) << c << ": " << r.err.constData();
        EXPECT_EQ(r.json().value("exit").toInt(), 2) << c;
        EXPECT_FALSE(r.json().value("error").toString().isEmpty()) << c;
    }
    const char *badLinks[] = {"--tcp :502",           "--tcp host:0",           "--tcp host:65536",
                              "--serial /dev/x:1234", "--serial /dev/x:9600:5", "--serial :9600"};
    for (const char *c : badLinks) {
        const CtlRun r = RunCtl(Words(c) + QStringList{"identify"});
        EXPECT_EQ(r.exit, 2) << c;
        EXPECT_TRUE(r.out.isEmpty()) << c;
    }
}

} // namespace
