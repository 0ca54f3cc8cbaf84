#include "TestStation.h"

#include "monitor/TVo3112CCC.h"
#include "process/AutomationController.h"
#include "process/TCont.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

TEST(PipeRequestIntoTheWindow, SetsTheOutputCheckBoxesOfEverySlot)
{
    TestStation t;
    TCont *w = t.d.Cont;
    AutomationController *a = t.station.automation.get();
    w->outputCheckBox(1, 7)->setChecked(true);
    w->OutputCheckBoxClick(73 + 7);
    const PipeMessage request = BuildPipeRequest({0x05, 0, 0, 0, 0, 0, 0, 0, 0x80}, 0x00);
    a->ApplyPipeRequest(request);
    for (int b = 0; b < 8; ++b)
        EXPECT_EQ(w->outputCheckBox(1, b)->isChecked(), b == 0 || b == 2) << b;
    EXPECT_EQ(t.d.DigOutSlotBytes[1], 0x05);
    EXPECT_EQ(t.d.DigOutSlotBytes[9], 0x80);
    EXPECT_TRUE(w->outputCheckBox(9, 7)->isChecked());
    EXPECT_EQ(t.d.PipeControl, 0);
    EXPECT_FALSE(a->TimerAutoRestart->isActive());
}

TEST(PipeRequestIntoTheWindow, RestartBitRestartsAndTheResponseCarriesIt)
{
    TestStation t;
    TCont *w = t.d.Cont;
    AutomationController *a = t.station.automation.get();
    t.d.TransactionId = 7;
    t.d.AutostartStep = 50;
    t.d.AnaInValues[0] = -2;
    a->ApplyPipeRequest(BuildPipeRequest({}, 0x01));
    EXPECT_EQ(t.d.PipeControl, 1);
    EXPECT_NE(t.d.StationFlags & StationFlag::RestartUnderWay, 0);
    EXPECT_EQ(t.d.TxFrame[6], 8);
    EXPECT_EQ(t.d.TxFrame[7], 0x2A);
    EXPECT_EQ(t.d.TxLength, 8);
    EXPECT_EQ(t.d.TransactionId, 7);
    EXPECT_EQ(t.d.AutostartStep, 0);
    EXPECT_EQ(w->CycleRunning, 0);
    EXPECT_TRUE(a->TimerAutoRestart->isActive());
    const PipeMessage response = a->CurrentPipeResponse();
    EXPECT_NE(response[73] & 0x80, 0);
    EXPECT_EQ(ToByteArray(response).left(4).toHex(), QByteArray("feffffff"));
}

TEST(RestartWatchInTheWindow, StartsGivenUpRunsAgainAndEndsAtTheCycle)
{
    TestStation t;
    AutomationController *w = t.station.automation.get();
    w->AutoRestart();
    t.d.AutostartStep = 6; // a run that gave up
    t.d.AutostartConfigAttempts = 3;
    w->TimerAutostart->stop();
    w->TimerAutoRestartTimer();
    EXPECT_EQ(t.d.AutostartStep, 0);
    EXPECT_EQ(t.d.AutostartConfigAttempts, 0);
    EXPECT_TRUE(w->TimerAutostart->isActive());
    t.d.AutostartStep = 12; // under way
    w->TimerAutoRestartTimer();
    EXPECT_NE(t.d.StationFlags & StationFlag::RestartUnderWay, 0);
    t.d.AutostartStep = 50;
    w->TimerAutoRestartTimer();
    EXPECT_EQ(t.d.StationFlags & StationFlag::RestartUnderWay, 0);
    EXPECT_FALSE(w->TimerAutoRestart->isActive());
}

TEST(ServerArgument, CaptionCarriesThePipeNameInBothLanguages)
{
    TestStation t({"AUTO", "SERVER1"});
    EXPECT_EQ(t.d.Vo3112CCC->windowTitle(), QStringLiteral("Modbus/TCP Steuerung (SERVER1)"));
    ASSERT_NE(t.station.automation->pipeServer(), nullptr);
    EXPECT_EQ(t.station.automation->pipeServer()->pipeName(), QStringLiteral("SERVER1"));
    SelectLanguage(t.d, 1);
    EXPECT_EQ(t.d.Vo3112CCC->windowTitle(), QStringLiteral("Modbus/TCP Control (SERVER1)"));
    EXPECT_TRUE(t.station.automation->TimerAutostart->isActive()); // AUTO starts the sequence
    TestStation plain;
    EXPECT_EQ(plain.station.automation->pipeServer(), nullptr);
    EXPECT_FALSE(plain.station.automation->TimerAutostart->isActive());
}

TEST(AutostartInTheWindow, WaitPausesWithoutHoldingTheWindow)
{
    // COM 3 names a device that no machine has, so the link stays closed.
    QTemporaryDir dir;
    QFile ini(dir.filePath(QStringLiteral("Modbus.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Schnittstelle]\nPort=2\nComDevice3=/dev/vo3112-no-such-port\n");
    ini.close();
    RecordingMessageSink sink;
    Station station({"AUTO", "x", "y", "WAIT"}, dir.path());
    station.d.setMessageSink(&sink);
    station.start();
    Deklarat &d = station.d;
    AutomationController *w = station.automation.get();
    w->TimerAutostartTimer();
    EXPECT_EQ(d.AutostartStep, 0);
    EXPECT_EQ(w->TimerAutostart->interval(), 2000);
    w->TimerAutostartTimer(); // opens the (serial, absent) link
    EXPECT_EQ(d.AutostartStep, 1);
    EXPECT_EQ(w->TimerAutostart->interval(), 1000);
    ASSERT_EQ(sink.boxes.size(), 1u); // the open failure, reported as to a user
    EXPECT_EQ(sink.boxes[0].text, QStringLiteral("Schnittstelle nicht vorhanden!"));
    for (int i = 0; i < 6; ++i)
        w->TimerAutostartTimer();
    EXPECT_EQ(d.AutostartStep, 6);
    EXPECT_FALSE(w->TimerAutostart->isActive()); // no link: given up
}

} // namespace
