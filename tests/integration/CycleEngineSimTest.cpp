// The process data cycle engine alone against the simulator: a station state,
// the line and the engine, no window at all, as a program without a display
// runs it.
#include "../process/StationFixture.h"
#include "SimHarness.h"
#include "Wait.h"
#include "app/Deklarat.h"
#include "link/Transport.h"
#include "process/CycleEngine.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

namespace
{

class EngineAgainstSimulator : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim->ready());
        d.Link = &link;
        link.ClientSocket->connectToHost(QStringLiteral("127.0.0.1"), sim->port());
        ASSERT_TRUE(WaitUntil([&] { return link.tcpOpen(); }));
        d.TcpConnected = 1;
        d.DataTimeout = 20;
        stationfixture::LoadStation(d.StationConfig, stationfixture::DemoSlots);
        QObject::connect(&engine, &CycleEngine::InputsDecoded, [this] { ++decoded; });
    }
    void TearDown() override
    {
        engine.halt();
        engine.recorder().stop();
        d.Link = nullptr;
    }

    std::string simOutputs()
    {
        std::istringstream in(sim->command("show"));
        for (std::string line; std::getline(in, line);)
            if (line.rfind("outputs ", 0) == 0)
                return line;
        return {};
    }

    std::unique_ptr<simtest::SimProcess> sim =
        std::make_unique<simtest::SimProcess>(std::vector<std::string>{"--tcp", "127.0.0.1:0"});
    Deklarat d;
    Transport link{d};
    CycleEngine engine{d};
    int decoded = 0;
};

TEST_F(EngineAgainstSimulator, CyclesRecordsAndMarksTheValuesWhenTheCouplerGoes)
{
    ASSERT_EQ(sim->command("ai 1 1234"), "ok\n");
    ASSERT_EQ(sim->command("ai 5 -70000"), "ok\n"); // first strain gauge channel, 32 bit
    // Analog outputs come from whoever holds them, asked before each request.
    int asked = 0;
    QObject::connect(&engine, &CycleEngine::OutputsWanted, [&] {
        ++asked;
        d.AnaOutValues[0] = 1000;
        d.AnaOutValues[1] = 0xFFFE;
    });
    d.DigOutSlotBytes[3] = 0x05; // 4-channel output module: channels 0..3
    d.DigOutSlotBytes[4] = 0x82; // 8-channel module: channels 4..11
    ASSERT_TRUE(engine.start());
    EXPECT_EQ(engine.CycleRunning, 1);

    EXPECT_TRUE(WaitUntil([&] { return simOutputs() == "outputs 03E8 FFFE 0000 0000 2508"; }, 8000)) << simOutputs();
    // Looped back: input channels 0..3 are slot 1, 4..11 slot 2.
    ASSERT_TRUE(WaitUntil([&] { return d.DigInBytes[0] == 0x25 && d.DigInBytes[1] == 0x08; }, 8000))
        << int(d.DigInBytes[0]) << " " << int(d.DigInBytes[1]);
    EXPECT_EQ(d.AnaInValues[0], 1234);
    EXPECT_EQ(d.AnaInValues[4], -70000);
    EXPECT_EQ(d.AnaInAllValues[4], -70000);
    EXPECT_EQ(engine.decodedAnalogInputs(), 8);
    EXPECT_GT(asked, 0);
    EXPECT_GT(decoded, 0);
    EXPECT_TRUE(engine.freshness().current());
    EXPECT_NE(d.StationFlags & StationFlag::ProcessDataAnswered, 0);

    // The value log without its window.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("data_log.csv"));
    engine.recorder().SaveTimer->setInterval(100);
    QString error;
    ASSERT_TRUE(engine.recorder().start(path, &error)) << error.toStdString();
    const auto logged = [&] {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        const QByteArray line = file.readLine();
        if (!line.endsWith(";\r\n"))
            return false;
        const QList<QByteArray> fields = line.chopped(3).split(';');
        return fields.size() == 11 && fields[1] == "1234" && fields[5] == "-70000" && fields[9] == "37" &&
               fields[10] == "8";
    };
    EXPECT_TRUE(WaitUntil(logged, 5000));
    engine.recorder().stop();

    // The coupler goes: the cycle goes on, its values are no longer current.
    sim.reset();
    EXPECT_TRUE(WaitUntil([&] { return engine.freshness().state() == ValueFreshness::State::NoAnswer; }, 8000));
    EXPECT_EQ(d.StationFlags & StationFlag::ProcessDataAnswered, 0);
    EXPECT_EQ(engine.CycleRunning, 1);
    EXPECT_TRUE(engine.Anfrage->isActive() || engine.Antwort->isActive());
    EXPECT_EQ(d.AnaInValues[0], 1234); // the last values stay

    engine.stop();
    EXPECT_TRUE(WaitUntil([&] { return !engine.Anfrage->isActive() && !engine.Antwort->isActive(); }, 3000));
}

} // namespace
