#include "Wait.h"
#include "process/PipeClient.h"
#include "process/TServerThread.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QUuid>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

TEST(PipeMessages, ResponseLayout)
{
    std::array<qint32, 16> ai{};
    ai[0] = -2;
    ai[1] = 0x12345678;
    ai[15] = 100000;
    std::array<quint8, 12> di{};
    for (int i = 0; i < 12; ++i)
        di[static_cast<size_t>(i)] = static_cast<quint8>(0xA0 + i);
    const PipeMessage m = BuildPipeResponse(ai, di, 0x8C);
    EXPECT_EQ(ToByteArray(m).left(8).toHex(' '), QByteArray("fe ff ff ff 78 56 34 12"));
    EXPECT_EQ(ToByteArray(m).mid(60, 4).toHex(), QByteArray("a0860100"));
    EXPECT_EQ(ToByteArray(m).mid(64, 9).toHex(), QByteArray("a0a1a2a3a4a5a6a7a8")); // only the first nine
    EXPECT_EQ(m[73], 0x8C);
    const PipeResponseFields f = ParsePipeResponse(m);
    EXPECT_EQ(f.AnaIn[0], -2);
    EXPECT_EQ(f.AnaIn[1], 0x12345678);
    EXPECT_EQ(f.DigIn[8], 0xA8);
    EXPECT_EQ(f.Flags, 0x8C);
}

TEST(PipeMessages, RequestLayoutAndShortOrLongBuffers)
{
    const PipeMessage r = BuildPipeRequest({0x05, 0, 0, 0xFF, 0, 0, 0, 0, 0x80}, 0x01);
    EXPECT_EQ(r[64], 0x05);
    EXPECT_EQ(r[67], 0xFF);
    EXPECT_EQ(r[72], 0x80);
    EXPECT_EQ(r[73], 0x01);
    EXPECT_EQ(std::count(r.begin(), r.begin() + 64, 0), 64);
    EXPECT_EQ(ToPipeMessage(QByteArray(100, char(7)))[73], 7);
    EXPECT_EQ(ToPipeMessage(QByteArray(10, char(7)))[10], 0);
}

TEST(PipeClientArguments, Table)
{
    struct Case {
        QStringList args;
        bool ok;
        std::array<quint8, 9> outputs;
        bool restart;
        bool machine;
    };
    const Case cases[] = {
        {{"SERVER1"}, true, {}, false, false},
        {{"SERVER1", "--slot", "1=0x05", "--slot", "9=255"}, true, {5, 0, 0, 0, 0, 0, 0, 0, 255}, false, false},
        {{"SERVER1", "--outputs", "1,2,$10", "--restart", "--machine"}, true, {1, 2, 16}, true, true},
        {{}, false, {}, false, false},
        {{"SERVER1", "--slot", "10=1"}, false, {}, false, false},
        {{"SERVER1", "--slot", "1=256"}, false, {}, false, false},
        {{"SERVER1", "--slot"}, false, {}, false, false},
        {{"SERVER1", "--outputs", "1,2,3,4,5,6,7,8,9,10"}, false, {}, false, false},
        {{"SERVER1", "--bogus"}, false, {}, false, false},
        {{"SERVER1", "SERVER2"}, false, {}, false, false},
    };
    for (const Case &c : cases) {
        const PipeClientOptions o = ParsePipeClientArguments(c.args);
        EXPECT_EQ(o.error.isEmpty(), c.ok) << c.args.join(' ').toStdString() << ": " << o.error.toStdString();
        if (c.ok) {
            EXPECT_EQ(o.outputs, c.outputs) << c.args.join(' ').toStdString();
            EXPECT_EQ(o.restart, c.restart);
            EXPECT_EQ(o.machine, c.machine);
        }
    }
}

TEST(PipeClientOutput, FlagsByName)
{
    EXPECT_EQ(PipeFlagNames(0x8E), QStringLiteral("tcp config process-data restart"));
    EXPECT_EQ(PipeFlagNames(0), QString());
    PipeResponseFields f;
    f.AnaIn[0] = -2;
    f.DigIn[1] = 0x5A;
    f.Flags = 0x0C;
    const QString machine = FormatPipeResponse(f, true);
    EXPECT_TRUE(machine.contains(QStringLiteral("ai1=-2\n")));
    EXPECT_TRUE(machine.contains(QStringLiteral("di1=0x5A\n")));
    EXPECT_TRUE(machine.contains(QStringLiteral("flags=0x0C\nflag_names=config process-data\n")));
}

// A server with a bridge that records requests and answers with a counter.
struct Server {
    Server()
    {
        name = QStringLiteral("vo3112-test-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
        bridge.apply = [this](const PipeMessage &m) { requests.push_back(m); };
        bridge.respond = [this] {
            std::array<qint32, 16> ai{};
            ai[0] = static_cast<qint32>(requests.size());
            return BuildPipeResponse(ai, {}, 0x08);
        };
        thread = std::make_unique<TServerThread>(name, &bridge);
        thread->start();
        WaitUntil([this] { return thread->listening(); });
    }
    // Runs a client exchange on another thread while this thread serves the bridge.
    std::optional<PipeMessage> exchange(const PipeMessage &request, QString *error = nullptr)
    {
        std::optional<PipeMessage> result;
        std::atomic<bool> done{false};
        QThread *client = QThread::create([&] {
            result = ExchangePipeMessage(name, request, 3000, error);
            done = true;
        });
        client->start();
        WaitUntil([&] { return done.load(); }, 5000);
        client->wait();
        delete client;
        return result;
    }
    PipeBridge bridge;
    QString name;
    std::vector<PipeMessage> requests;
    std::unique_ptr<TServerThread> thread;
};

TEST(PipeServer, RoundTripsAppliedOnTheUserInterfaceThread)
{
    Server s;
    ASSERT_TRUE(s.thread->listening());
    for (int i = 1; i <= 3; ++i) {
        const auto response = s.exchange(BuildPipeRequest({static_cast<quint8>(i)}, 0));
        ASSERT_TRUE(response.has_value());
        EXPECT_EQ(ParsePipeResponse(*response).AnaIn[0], i);
        EXPECT_EQ((*response)[73], 0x08);
    }
    ASSERT_EQ(s.requests.size(), 3u);
    EXPECT_EQ(s.requests[2][64], 3);
}

TEST(PipeServer, OpenToTheOwnerOnly)
{
    Server s;
    const QString path = s.thread->serverPath();
    ASSERT_FALSE(path.isEmpty());
    struct stat st {
    };
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    EXPECT_EQ(st.st_mode & (S_IRWXG | S_IRWXO), 0u) << std::oct << st.st_mode;
    EXPECT_EQ(st.st_uid, ::getuid());
}

TEST(PipeServer, ShortRequestIsDroppedAndTheNextClientServed)
{
    Server s;
    std::atomic<bool> dropped{false};
    QThread *lazy = QThread::create([&] {
        QLocalSocket socket;
        socket.connectToServer(s.name);
        socket.waitForConnected(2000);
        socket.write(QByteArray(10, 1));
        socket.flush();
        // Never sends the rest: the server must let go of us.
        socket.waitForDisconnected(5000);
        dropped = socket.state() == QLocalSocket::UnconnectedState && socket.bytesAvailable() == 0;
    });
    lazy->start();
    WaitUntil([&] { return dropped.load(); }, 6000);
    lazy->wait();
    delete lazy;
    EXPECT_TRUE(dropped.load());
    EXPECT_TRUE(s.requests.empty()); // nothing applied from half a request
    const auto response = s.exchange(BuildPipeRequest({}, 0));
    EXPECT_TRUE(response.has_value());
}

TEST(PipeServer, LongerRequestIsAnsweredFromItsFirst74Bytes)
{
    Server s;
    std::optional<QByteArray> answer;
    QThread *client = QThread::create([&] {
        QLocalSocket socket;
        socket.connectToServer(s.name);
        socket.waitForConnected(2000);
        QByteArray request(100, 0);
        request[64] = 0x33;
        request[80] = 0x77;
        socket.write(request);
        socket.flush();
        QByteArray got;
        while (got.size() < 74 && socket.waitForReadyRead(3000))
            got += socket.readAll();
        answer = got;
    });
    client->start();
    WaitUntil([&] { return client->isFinished(); }, 6000);
    client->wait();
    delete client;
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->size(), 74);
    ASSERT_EQ(s.requests.size(), 1u);
    EXPECT_EQ(s.requests[0][64], 0x33);
}

TEST(PipeServer, SecondServerOfTheSameNameLeavesTheRunningOneAlone)
{
    Server s;
    PipeBridge other;
    other.respond = [] { return BuildPipeResponse({}, {}, 0x55); };
    TServerThread second(s.name, &other);
    second.start();
    RunEvents(300);
    EXPECT_FALSE(second.listening());
    const auto response = s.exchange(BuildPipeRequest({}, 0));
    ASSERT_TRUE(response.has_value());
    EXPECT_EQ((*response)[73], 0x08); // still the first server
    second.stop();
}

TEST(PipeServer, ClientWithoutServerFailsWithAReason)
{
    QString error;
    const auto r = ExchangePipeMessage(QStringLiteral("vo3112-no-such-pipe"), {}, 200, &error);
    EXPECT_FALSE(r.has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("vo3112-no-such-pipe")));
}

} // namespace
