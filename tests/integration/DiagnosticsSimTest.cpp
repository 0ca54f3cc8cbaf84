// The error window against the running simulator, over loopback TCP and over
// a socat pty pair, while the control window's process data cycle shares the
// line: errors set in the coupler are read into the grids, reset, read again;
// the alarm mask goes round from the coupler into the check boxes and back.
#include "ProgramOnSimulator.h"
#include "Wait.h"
#include "diagnostics/TAlarmMaske.h"
#include "diagnostics/TFehler.h"
#include "process/TCont.h"
#include "station/TDeviceConfigForm.h"

#include <gtest/gtest.h>

namespace
{

class DiagnosticsAgainstSimulator : public ::testing::TestWithParam<SimLink>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(p.ready());
        readConfiguration();
        startCycle();
    }

    void TearDown() override { cont.BStopClick(); }

    // The counts come from the coupler, as a user would get them.
    void readConfiguration()
    {
        TDeviceConfigForm &config = *d.DeviceConfigForm;
        config.BReadConfigClick();
        ASSERT_TRUE(
            WaitUntil([&] { return d.StationConfig.ConfigValid == 1 && !config.TimerSlotList->isActive(); }, 8000));
        const StationConfiguration &c = d.StationConfig;
        ASSERT_EQ(c.AnaInCount + c.AnaIn32Count, 14);
        ASSERT_EQ(c.TempChannelCount, 7);
        ASSERT_EQ(c.AnaOutCount, 4);
        ASSERT_EQ(c.DigOutModuleCount, 2);
    }

    void startCycle()
    {
        cont.FormActivate();
        cont.BStartClick();
        ASSERT_EQ(cont.CycleRunning, 1);
        ASSERT_TRUE(WaitUntil([&] { return (d.StationFlags & StationFlag::ProcessDataAnswered) != 0; }, 8000));
    }

    void command(const std::string &line) { ASSERT_EQ(p.sim->command(line), "ok\n") << line; }

    // Until the window has nothing outstanding.
    bool settled()
    {
        return WaitUntil([&] { return w.ReadStep == 0 && !w.Anfrage->isActive() && !w.Timer1->isActive(); }, 10000);
    }

    QString modul(int row, int column) const { return TFehler::CellText(w.SGModulFehler, row, column); }
    QString koppler(int row) const { return TFehler::CellText(w.SGKopplerFehler, row, 1); }

    // Every kind of module: 14 analog input channels (7 compensated), 4
    // analog outputs, 2 digital output modules.
    ProgramOnSimulator p{GetParam(), {"--slots", "1,7,4,10,8,14,15,5,2"}};
    TestStation &t = p.t;
    ProgramState &d = p.d;
    TFehler &w = *d.Fehler;
    TAlarmMaske &mask = *d.AlarmMaske;
    TCont &cont = *d.Cont;
};

TEST_P(DiagnosticsAgainstSimulator, ErrorsReadResetAndReadAgain)
{
    for (const char *line : {"error 0x8005", "status ai 1 3", "status ai 14 5", "status comp 7 1", "status ao 2 9",
                             "status do 1 0x31", "status do 2 0x04"})
        command(line);
    const long reads = p.requestsOf(4);
    const long cycles = p.requestsOf(23);

    w.FormActivate();
    w.BReadErrorClick();
    ASSERT_TRUE(settled());
    EXPECT_TRUE(t.sink.boxes.empty()) << t.sink.boxes.front().text.toStdString();

    EXPECT_EQ(koppler(1), QStringLiteral("Fehler digitale Eingänge"));
    EXPECT_EQ(koppler(2), QString());
    EXPECT_EQ(koppler(3), QStringLiteral("Fehler analoge Eingänge"));
    EXPECT_EQ(koppler(16), QStringLiteral("neue Modulkonfiguration"));
    EXPECT_EQ(modul(1, 1), QStringLiteral("Wert Überlauf"));
    EXPECT_EQ(modul(2, 1), QStringLiteral("Ok"));
    EXPECT_EQ(modul(14, 1), QStringLiteral("Wert Unterlauf"));
    EXPECT_EQ(modul(7, 2), QStringLiteral("Übertragungsfehler"));
    EXPECT_EQ(modul(6, 2), QStringLiteral("Ok"));
    EXPECT_EQ(modul(2, 3), QStringLiteral("Übertragungsfehler"));
    EXPECT_EQ(modul(1, 4), QStringLiteral("Leerlauf Kanal 1/2, 3/4;  Kurzschluß Kanal 1/2"));
    EXPECT_EQ(modul(2, 4), QStringLiteral("Kurzschluß Kanal 5/6"));

    // Five reads went out, and the cycle kept running beside them.
    EXPECT_EQ(p.requestsOf(4) - reads, 5);
    EXPECT_GT(p.requestsOf(23), cycles);

    w.BResetErrorClick();
    ASSERT_TRUE(settled());
    EXPECT_TRUE(t.sink.boxes.empty());
    EXPECT_EQ(p.simLine("error word"), "error word 0000 alarm mask 0000 loopback on");
    // The grids are not read again by themselves.
    EXPECT_EQ(koppler(16), QStringLiteral("neue Modulkonfiguration"));

    w.BReadErrorClick();
    ASSERT_TRUE(settled());
    EXPECT_TRUE(t.sink.boxes.empty());
    for (int row = 1; row <= 16; ++row)
        EXPECT_EQ(koppler(row), QString()) << row;
    for (int row = 1; row <= 14; ++row)
        EXPECT_EQ(modul(row, 1), QStringLiteral("Ok")) << row;
    EXPECT_EQ(modul(7, 2), QStringLiteral("Ok"));
    EXPECT_EQ(modul(2, 3), QStringLiteral("Ok"));
    EXPECT_EQ(modul(1, 4), QStringLiteral("Ok"));
    EXPECT_EQ(modul(2, 4), QStringLiteral("Ok"));
    EXPECT_EQ(cont.CycleRunning, 1);
}

TEST_P(DiagnosticsAgainstSimulator, AlarmMaskRoundTrip)
{
    command("mask 0x8041");
    w.BReadAlarmMaskClick();
    ASSERT_TRUE(settled());
    EXPECT_TRUE(t.sink.boxes.empty());
    EXPECT_EQ(mask.AlarmMaskWord, 0x8041);
    EXPECT_TRUE(mask.isVisible());
    for (int bit = 0; bit < 16; ++bit)
        EXPECT_EQ(mask.BitBoxes[size_t(bit)]->isChecked(), bit == 0 || bit == 15) << bit;

    mask.CBErrDigIn->setChecked(false);
    mask.CBErrLin->setChecked(true);
    w.BSendAlarmMaskClick();
    EXPECT_FALSE(mask.isVisible());
    ASSERT_TRUE(settled());
    EXPECT_TRUE(t.sink.boxes.empty());
    EXPECT_EQ(p.simLine("error word"), "error word 0000 alarm mask 8140 loopback on");

    mask.ShowMask(0);
    w.BReadAlarmMaskClick();
    ASSERT_TRUE(settled());
    EXPECT_EQ(mask.AlarmMaskWord, 0x8140);
    EXPECT_TRUE(mask.CBErrLin->isChecked());
    EXPECT_TRUE(mask.CBErrNewConfig->isChecked());
    EXPECT_FALSE(mask.CBErrDigIn->isChecked());
    EXPECT_TRUE(t.sink.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Links, DiagnosticsAgainstSimulator, ::testing::Values(SimLink::Tcp, SimLink::Rtu),
                         [](const ::testing::TestParamInfo<SimLink> &info) { return SimLinkName(info.param); });

} // namespace
