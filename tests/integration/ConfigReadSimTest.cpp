// The configuration window reads the running simulator's identity and slot list.
#include "SimHarness.h"
#include "Wait.h"
#include "app/Station.h"
#include "link/TSIOTransfer.h"
#include "monitor/TVo3112CCC.h"
#include "station/TDeviceConfigForm.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

struct Program {
    explicit Program(const QByteArray &ini)
    {
        QFile f(dir.filePath(QStringLiteral("Modbus.ini")));
        f.open(QIODevice::WriteOnly);
        f.write(ini);
        f.close();
        station = std::make_unique<Station>(QStringList{}, dir.path());
        station->d.setMessageSink(&sink);
        station->start();
    }
    ProgramState &d() { return station->d; }
    QTemporaryDir dir;
    RecordingMessageSink sink;
    std::unique_ptr<Station> station;
};

void readAndCheck(Program &p)
{
    TDeviceConfigForm *w = p.d().DeviceConfigForm;
    w->BReadConfigClick();
    ASSERT_TRUE(WaitUntil([&] { return p.d().StationConfig.ConfigValid == 1; }, 8000))
        << w->MDataTransfer->toPlainText().toStdString() << "\n"
        << p.d().Vo3112CCC->Transmit->toPlainText().toStdString() << "\n"
        << p.d().Vo3112CCC->Receive->toPlainText().toStdString();
    EXPECT_EQ(w->EdInfo->text(), QStringLiteral("ACME Test"));
    EXPECT_EQ(w->EdProdukt->text(), QStringLiteral("VO3112"));
    EXPECT_EQ(w->EdVersion->text(), QStringLiteral("2.01"));
    const StationConfiguration &c = p.d().StationConfig;
    EXPECT_EQ(c.AnaInCount, 4 + 2);
    EXPECT_EQ(c.AnaIn32Count, 2);
    EXPECT_EQ(c.DigOutCount, 8 + 4);
    EXPECT_EQ(c.DigInCount, 8);
    EXPECT_EQ(c.SlotModuleIds[1], 8);
    EXPECT_EQ(c.SlotModuleIds[2], 10);
    EXPECT_EQ(c.SlotModuleIds[6], 0);
    EXPECT_EQ(c.TempChannelCount, 4 + 2);
    EXPECT_EQ(c.DigOutModuleCount, 2);
    EXPECT_EQ(p.d().StationFlags & StationFlag::ConfigAnswered, StationFlag::ConfigAnswered);
    EXPECT_EQ(p.d().Vo3112CCC->StatusBar1->panelText(2), QStringLiteral(" Konfiguration geladen "));
    EXPECT_TRUE(p.sink.boxes.empty() || p.sink.boxes.back().kind == MessageKind::Information);
}

const std::vector<std::string> Station8 = {"--slots", "8,10,14,1,7,0,6", "--identity", "ACME Test,VO3112,2.01"};

TEST(ConfigReadAgainstSimulator, OverTcp)
{
    std::vector<std::string> args = {"--tcp", "127.0.0.1:0", "--no-stdin"};
    args.insert(args.end(), Station8.begin(), Station8.end());
    simtest::SimProcess sim(args);
    ASSERT_TRUE(sim.ready());
    Program p("[Schnittstelle]\nEthernet=1\nEthAdresse=127.0.0.1\nEthPort=" + QByteArray::number(sim.port()) + "\n");
    p.d().SIOTransfer->CBoShowMessage->setChecked(false);
    p.d().SIOTransfer->OKClick();
    ASSERT_TRUE(WaitUntil([&] { return p.d().TcpConnected == 1; }));
    readAndCheck(p);
}

TEST(ConfigReadAgainstSimulator, OverRtuAndReadingAgainGivesTheSameTables)
{
    simtest::PtyPair pty;
    ASSERT_TRUE(pty.ready());
    std::vector<std::string> args = {"--rtu", pty.simSide(), "--baud", "19200", "--frame", "2", "--no-stdin"};
    args.insert(args.end(), Station8.begin(), Station8.end());
    simtest::SimProcess sim(args);
    ASSERT_TRUE(sim.ready());
    Program p("[Schnittstelle]\nPort=0\nBaud=5\nFrame=1\nComDevice1=" + QByteArray::fromStdString(pty.masterSide()) +
              "\n");
    p.d().SIOTransfer->OKClick();
    ASSERT_TRUE(p.sink.boxes.empty());
    readAndCheck(p);
    p.d().StationConfig.ConfigValid = 0;
    readAndCheck(p);
}

// Random bytes ahead of every reply, as a noisy RS-485 line brings them: every
// read finds the identification and the slot list behind them.
TEST(ConfigReadAgainstSimulator, OverRtuBehindNoiseEveryRoundSucceeds)
{
    simtest::PtyPair pty;
    ASSERT_TRUE(pty.ready());
    std::vector<std::string> args = {"--rtu", pty.simSide(), "--baud", "19200",  "--frame",
                                     "2",     "--noise",     "3",      "--seed", "7"};
    args.insert(args.end(), Station8.begin(), Station8.end());
    simtest::SimProcess sim(args);
    ASSERT_TRUE(sim.ready());
    Program p("[Schnittstelle]\nPort=0\nBaud=5\nFrame=1\nComDevice1=" + QByteArray::fromStdString(pty.masterSide()) +
              "\n");
    p.d().SIOTransfer->OKClick();
    ASSERT_TRUE(p.sink.boxes.empty());
    for (const char *noise : {"3", "1", "8", "20"}) {
        ASSERT_EQ(sim.command(std::string("noise ") + noise), "ok\n");
        for (int round = 0; round < 3; ++round) {
            SCOPED_TRACE(std::string("noise ") + noise + ", round " + std::to_string(round));
            p.d().StationConfig.ConfigValid = 0;
            readAndCheck(p);
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }
}

// However the read fails, the screen stops showing a loaded station: status
// panel 2 and the identity fields follow ConfigValid, and a good read brings
// them back.
TEST(ConfigReadAgainstSimulator, AFailedReadShowsNoStationOverRtu)
{
    simtest::PtyPair pty;
    ASSERT_TRUE(pty.ready());
    std::vector<std::string> args = {"--rtu", pty.simSide(), "--baud", "19200", "--frame", "2"};
    args.insert(args.end(), Station8.begin(), Station8.end());
    simtest::SimProcess sim(args);
    ASSERT_TRUE(sim.ready());
    Program p("[Schnittstelle]\nPort=0\nBaud=5\nFrame=1\nComDevice1=" + QByteArray::fromStdString(pty.masterSide()) +
              "\n");
    p.d().SIOTransfer->OKClick();
    ASSERT_TRUE(p.sink.boxes.empty());
    TDeviceConfigForm *w = p.d().DeviceConfigForm;

    struct Case {
        const char *name;
        const char *fault; // simulator command; empty: another unit asked
        bool box;          // an exception is shown in a box
    };
    const Case cases[] = {
        {"no reply", "drop 100", false},
        {"bad CRC", "bad-crc on", false},
        {"identification refused", "exception 43 2", true},
        {"slot list refused", "exception 4 2", true},
        {"wrong unit", "", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        p.d().StationConfig.ConfigValid = 0;
        readAndCheck(p);
        if (::testing::Test::HasFatalFailure())
            return;
        p.sink.boxes.clear();
        if (*c.fault)
            ASSERT_EQ(sim.command(c.fault), "ok\n");
        else
            w->EHexID->setText(QStringLiteral("09"));
        w->BReadConfigClick();
        ASSERT_TRUE(WaitUntil([&] { return !w->TimerIdentity->isActive() && !w->TimerSlotList->isActive(); }, 10000));
        EXPECT_EQ(p.d().StationConfig.ConfigValid, 0);
        EXPECT_EQ(p.d().Vo3112CCC->StatusBar1->panelText(2), QStringLiteral(" keine Konfiguration geladen "));
        EXPECT_TRUE(w->EdInfo->text().isEmpty());
        EXPECT_TRUE(w->EdProdukt->text().isEmpty());
        EXPECT_TRUE(w->EdVersion->text().isEmpty());
        EXPECT_EQ(p.sink.boxes.size(), c.box ? 1u : 0u);
        ASSERT_EQ(sim.command("faults off"), "ok\n");
        w->EHexID->setText(QStringLiteral("08"));
        p.sink.boxes.clear();
    }
    p.d().StationConfig.ConfigValid = 0;
    readAndCheck(p);
}

} // namespace
