// The error window against the running simulator, over loopback TCP and over
// a socat pty pair, while the control window's process data cycle shares the
// line: errors set in the coupler are read into the grids, reset, read again;
// the alarm mask goes round from the coupler into the check boxes and back.
#include "SimHarness.h"
#include "TestStation.h"
#include "Wait.h"
#include "app/IniFile.h"
#include "diagnostics/TAlarmMaske.h"
#include "diagnostics/TFehler.h"
#include "link/TSIOTransfer.h"
#include "process/TCont.h"
#include "station/TDeviceConfigForm.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using simtest::PtyPair;
using simtest::SimProcess;

enum class Link { Tcp, Rtu };

std::string lineOf(const std::string &show, const std::string &start)
{
    std::istringstream in(show);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(start, 0) == 0)
            return line;
    return {};
}

// Requests of one function code the simulator has answered so far.
long requestsOf(const std::string &show, int function)
{
    std::istringstream in(lineOf(show, "requests"));
    std::string word;
    const std::string key = std::to_string(function) + ":";
    while (in >> word)
        if (word.rfind(key, 0) == 0)
            return std::stol(word.substr(key.size()));
    return 0;
}

class DiagnosticsAgainstSimulator : public ::testing::TestWithParam<Link>
{
protected:
    void SetUp() override
    {
        // Every kind of module: 14 analog input channels (7 compensated), 4
        // analog outputs, 2 digital output modules.
        std::vector<std::string> args = {"--slots", "1,7,4,10,8,14,15,5,2"};
        if (GetParam() == Link::Rtu) {
            pty_ = std::make_unique<PtyPair>();
            ASSERT_TRUE(pty_->ready());
            args.insert(args.end(), {"--rtu", pty_->simSide()});
        } else {
            args.insert(args.end(), {"--tcp", "127.0.0.1:0"});
        }
        sim_ = std::make_unique<SimProcess>(args);
        ASSERT_TRUE(sim_->ready());
        openLink();
        readConfiguration();
        startCycle();
    }

    void TearDown() override { cont.BStopClick(); }

    void openLink()
    {
        TSIOTransfer &io = *d.SIOTransfer;
        if (GetParam() == Link::Tcp) {
            io.CBoEthernet->setChecked(true);
            io.CBoEthernetClick();
            io.CBAdresse->setEditText(QStringLiteral("127.0.0.1"));
            io.SEPort->setValue(sim_->port());
            io.CBoShowMessage->setChecked(false);
            io.OKClick();
            ASSERT_TRUE(WaitUntil([&] { return io.Link->tcpOpen(); }));
        } else {
            IniFile ini(d.SettingsPath);
            ini.writeString(QStringLiteral("Schnittstelle"), QStringLiteral("ComDevice1"),
                            QString::fromStdString(pty_->masterSide()));
            ASSERT_TRUE(ini.save());
            io.CBoEthernet->setChecked(false);
            io.CBoEthernetClick();
            io.CoBoCom->setCurrentIndex(0);
            io.CoBoBaud->setCurrentIndex(6); // 38400, as the simulator
            io.CoBoFrame->setCurrentIndex(3);
            io.OKClick();
            ASSERT_TRUE(io.Link->SerialPort->isOpen());
        }
        ASSERT_TRUE(t.sink.boxes.empty());
    }

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

    void command(const std::string &line) { ASSERT_EQ(sim_->command(line), "ok\n") << line; }
    std::string show() { return sim_->command("show"); }

    // Until the window has nothing outstanding.
    bool settled()
    {
        return WaitUntil([&] { return w.ReadStep == 0 && !w.Anfrage->isActive() && !w.Timer1->isActive(); }, 10000);
    }

    QString modul(int row, int column) const { return TFehler::CellText(w.SGModulFehler, row, column); }
    QString koppler(int row) const { return TFehler::CellText(w.SGKopplerFehler, row, 1); }

    TestStation t;
    Deklarat &d = t.d;
    TFehler &w = *t.d.Fehler;
    TAlarmMaske &mask = *t.d.AlarmMaske;
    TCont &cont = *t.d.Cont;
    std::unique_ptr<PtyPair> pty_;
    std::unique_ptr<SimProcess> sim_;
};

TEST_P(DiagnosticsAgainstSimulator, ErrorsReadResetAndReadAgain)
{
    for (const char *line : {"error 0x8005", "status ai 1 3", "status ai 14 5", "status comp 7 1", "status ao 2 9",
                             "status do 1 0x31", "status do 2 0x04"})
        command(line);
    const std::string before = show();

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
    const std::string after = show();
    EXPECT_EQ(requestsOf(after, 4) - requestsOf(before, 4), 5);
    EXPECT_GT(requestsOf(after, 23), requestsOf(before, 23));

    w.BResetErrorClick();
    ASSERT_TRUE(settled());
    EXPECT_TRUE(t.sink.boxes.empty());
    EXPECT_EQ(lineOf(show(), "error word"), "error word 0000 alarm mask 0000 loopback on");
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
    EXPECT_EQ(lineOf(show(), "error word"), "error word 0000 alarm mask 8140 loopback on");

    mask.ShowMask(0);
    w.BReadAlarmMaskClick();
    ASSERT_TRUE(settled());
    EXPECT_EQ(mask.AlarmMaskWord, 0x8140);
    EXPECT_TRUE(mask.CBErrLin->isChecked());
    EXPECT_TRUE(mask.CBErrNewConfig->isChecked());
    EXPECT_FALSE(mask.CBErrDigIn->isChecked());
    EXPECT_TRUE(t.sink.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Links, DiagnosticsAgainstSimulator, ::testing::Values(Link::Tcp, Link::Rtu),
                         [](const ::testing::TestParamInfo<Link> &info) {
                             return info.param == Link::Tcp ? std::string("Tcp") : std::string("Rtu");
                         });

} // namespace
