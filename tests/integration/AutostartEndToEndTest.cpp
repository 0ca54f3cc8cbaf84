// The real program, started with AUTO and SERVER..., against the simulator:
// it opens the link, reads the configuration and runs the cycle by itself,
// and other programs drive it through the pipe.
#include "SimHarness.h"
#include "Wait.h"
#include "process/PipeClient.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

namespace
{

QString buildDir()
{
    const QString dir = qEnvironmentVariable("VO_BUILD_DIR");
    return dir.isEmpty() ? QDir::currentPath() : dir;
}

// vo3112ccc copied into a folder of its own with its Modbus.ini.
struct Program {
    Program(const QByteArray &ini, QStringList arguments)
    {
        pipe = QStringLiteral("SERVERe2e") + QUuid::createUuid().toString(QUuid::Id128).left(10);
        const QString exe = dir.filePath(QStringLiteral("vo3112ccc"));
        QFile::copy(buildDir() + QStringLiteral("/vo3112ccc"), exe);
        QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile f(dir.filePath(QStringLiteral("Modbus.ini")));
        f.open(QIODevice::WriteOnly);
        f.write(ini);
        f.close();
        for (QString &a : arguments)
            if (a == QLatin1String("SERVER"))
                a = pipe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(exe, arguments);
        process.waitForStarted(5000);
    }
    ~Program()
    {
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(2000);
    }
    std::optional<PipeResponseFields> exchange(const std::array<quint8, 9> &outputs, quint8 control = 0)
    {
        QString error;
        const auto r = ExchangePipeMessage(pipe, BuildPipeRequest(outputs, control), 2000, &error);
        if (!r)
            return std::nullopt;
        return ParsePipeResponse(*r);
    }
    // Polls the pipe with `outputs` until `done` holds for a response.
    bool pollUntil(const std::array<quint8, 9> &outputs, const std::function<bool(const PipeResponseFields &)> &done,
                   int timeoutMs, std::vector<PipeResponseFields> *seen = nullptr)
    {
        return WaitUntil(
            [&] {
                const auto r = exchange(outputs);
                if (r && seen)
                    seen->push_back(*r);
                return r && done(*r);
            },
            timeoutMs);
    }
    QTemporaryDir dir;
    QString pipe;
    QProcess process;
};

// Requests of a function code the simulator has served so far.
long requests(simtest::SimProcess &sim, int function)
{
    const std::string show = sim.command("show");
    const std::string key = " " + std::to_string(function) + ":";
    const size_t line = show.find("requests");
    if (line == std::string::npos)
        return -1;
    const size_t at = show.find(key, line);
    if (at == std::string::npos || show.find('\n', line) < at)
        return 0;
    return std::stol(show.substr(at + key.size()));
}

constexpr quint8 Config = 0x04;
constexpr quint8 ProcessData = 0x08;
constexpr quint8 Restart = 0x80;

// The demo station: digital outputs in slots 3 (4 channels) and 4 (8), inputs
// in slots 1 (4) and 2 (8); the simulator loops outputs back to inputs.
const std::array<quint8, 9> Outputs = {0, 0, 0x05, 0xA5, 0, 0, 0, 0, 0};

bool loopedBack(const PipeResponseFields &r)
{
    return r.DigIn[0] == 0x55 && r.DigIn[1] == 0x0A;
}

void runsByItselfAndRestarts(simtest::SimProcess &sim, Program &program, bool tcp)
{
    ASSERT_EQ(sim.command("ai 1 1234").find("error"), std::string::npos);
    ASSERT_TRUE(program.pollUntil(
        {}, [](const PipeResponseFields &r) { return (r.Flags & (Config | ProcessData)) == (Config | ProcessData); },
        30000))
        << "the cycle never started";
    EXPECT_EQ(requests(sim, 43), 1);

    ASSERT_TRUE(program.pollUntil(Outputs, loopedBack, 10000)) << "outputs never came back as inputs";
    const auto now = program.exchange(Outputs);
    ASSERT_TRUE(now.has_value());
    EXPECT_EQ(now->AnaIn[0], 1234);
    EXPECT_NE(now->Flags & (tcp ? 0x02 : 0x01), 0);

    // The command-line client says the same, machine-readably.
    QProcess client;
    client.start(buildDir() + QStringLiteral("/vo3112pipe"),
                 {program.pipe, QStringLiteral("--slot"), QStringLiteral("3=5"), QStringLiteral("--slot"),
                  QStringLiteral("4=0xA5"), QStringLiteral("--machine")});
    ASSERT_TRUE(client.waitForFinished(10000));
    const QString out = QString::fromUtf8(client.readAllStandardOutput());
    EXPECT_EQ(client.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("ai1=1234\n"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("di0=0x55\n"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("config process-data"))) << out.toStdString();

    // Restart: answered at once with 0x80, the coupler gets 42, the cycle comes back.
    const auto restart = program.exchange(Outputs, 0x01);
    ASSERT_TRUE(restart.has_value());
    EXPECT_NE(restart->Flags & Restart, 0);
    std::vector<PipeResponseFields> seen;
    ASSERT_TRUE(program.pollUntil(
        Outputs, [](const PipeResponseFields &r) { return (r.Flags & Restart) == 0 && (r.Flags & ProcessData); }, 30000,
        &seen))
        << "the cycle did not come back";
    EXPECT_EQ(requests(sim, 42), 1);
    EXPECT_EQ(requests(sim, 43), 1); // no second configuration read
    if (tcp) {
        const bool dropped =
            std::any_of(seen.begin(), seen.end(), [](const PipeResponseFields &r) { return (r.Flags & 0x02) == 0; });
        EXPECT_TRUE(dropped) << "the TCP link never went down";
    }
    EXPECT_TRUE(program.pollUntil(Outputs, loopedBack, 10000));
}

TEST(EndToEnd, AutoAndPipeOverTcp)
{
    simtest::SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready());
    Program program("[Schnittstelle]\nEthernet=1\nEthAdresse=127.0.0.1\nEthPort=" + QByteArray::number(sim.port()) +
                        "\n",
                    {"AUTO", "SERVER"});
    runsByItselfAndRestarts(sim, program, true);
    EXPECT_EQ(requests(sim, 4), 1); // the slot list only
}

TEST(EndToEnd, AutoAndPipeOverRtu)
{
    simtest::PtyPair pty;
    ASSERT_TRUE(pty.ready());
    simtest::SimProcess sim({"--rtu", pty.simSide()});
    ASSERT_TRUE(sim.ready());
    Program program(
        "[Schnittstelle]\nPort=0\nBaud=6\nFrame=3\nComDevice1=" + QByteArray::fromStdString(pty.masterSide()) + "\n",
        {"SERVER", "AUTO"});
    runsByItselfAndRestarts(sim, program, false);
}

// Noise ahead of every reply: the first identification read is found behind
// it, and the unattended start goes on to the cycle.
TEST(EndToEnd, AutoOverRtuBehindNoiseGetsPastTheConfigurationRead)
{
    simtest::PtyPair pty;
    ASSERT_TRUE(pty.ready());
    simtest::SimProcess sim({"--rtu", pty.simSide(), "--noise", "3"});
    ASSERT_TRUE(sim.ready());
    Program program(
        "[Schnittstelle]\nPort=0\nBaud=6\nFrame=3\nComDevice1=" + QByteArray::fromStdString(pty.masterSide()) + "\n",
        {"SERVER", "AUTO"});
    ASSERT_TRUE(program.pollUntil(
        {}, [](const PipeResponseFields &r) { return (r.Flags & (Config | ProcessData)) == (Config | ProcessData); },
        30000))
        << "the cycle never started";
    EXPECT_EQ(requests(sim, 43), 1);
    EXPECT_EQ(requests(sim, 4), 1);
    EXPECT_TRUE(program.pollUntil(Outputs, loopedBack, 10000));
}

TEST(EndToEnd, DmsReadsTheStrainGaugeParametersBeforeTheCycle)
{
    simtest::SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready());
    Program program("[Schnittstelle]\nEthernet=1\nEthAdresse=127.0.0.1\nEthPort=" + QByteArray::number(sim.port()) +
                        "\n",
                    {"AUTO", "SERVER", "x", "DMS"});
    ASSERT_TRUE(program.pollUntil(
        {}, [](const PipeResponseFields &r) { return (r.Flags & ProcessData) != 0; }, 30000));
    EXPECT_EQ(requests(sim, 4), 2); // the slot list and the parameter block
}

} // namespace
