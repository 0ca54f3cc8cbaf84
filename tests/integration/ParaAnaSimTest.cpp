// The 16-bit analog input and the analog output parameter windows against the
// running simulator, over loopback TCP and over a socat pty pair, while the
// process data cycle runs: what a window writes is in the coupler and comes
// back into the window on the next read.
#include "SimHarness.h"
#include "TestStation.h"
#include "Wait.h"
#include "app/IniFile.h"
#include "link/TSIOTransfer.h"
#include "link/Transport.h"
#include "parameters/TParaAna.h"
#include "parameters/TParaAnaOut.h"
#include "process/TCont.h"
#include "station/TDeviceConfigForm.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace
{

using simtest::PtyPair;
using simtest::SimProcess;
using Col = TParaAnaOut::Column;

enum class Link { Tcp, Rtu };

QString buildDir()
{
    const QString dir = qEnvironmentVariable("VO_BUILD_DIR");
    return dir.isEmpty() ? QDir::currentPath() : dir;
}

// "requests 4:12 23:40" -> the count of one function code.
long requestCount(const std::string &show, int function)
{
    const std::string key = " " + std::to_string(function) + ":";
    const size_t line = show.find("requests");
    if (line == std::string::npos)
        return -1;
    const size_t at = show.find(key, line);
    if (at == std::string::npos || at > show.find('\n', line))
        return 0;
    return std::stol(show.substr(at + key.size()));
}

class ParameterWindowsAgainstSimulator : public ::testing::TestWithParam<Link>
{
protected:
    void SetUp() override
    {
        // The description file delivered beside the program, for the output objects.
        ASSERT_TRUE(QFile::copy(buildDir() + QStringLiteral("/ModIO_NX.cfg"), d.ProgramFolder + "ModIO_NX.cfg"));
        d.ModuleCatalogue = LoadModuleCatalogue(d.ProgramFolder, d.BrandMode);

        std::vector<std::string> args;
        if (GetParam() == Link::Rtu) {
            pty_ = std::make_unique<PtyPair>();
            ASSERT_TRUE(pty_->ready());
            args = {"--rtu", pty_->simSide()};
        } else {
            args = {"--tcp", "127.0.0.1:0"};
        }
        // Slot 1 a 16-bit input module (4 channels), slot 2 a thermocouple module
        // (2), slot 3 variant B of the output module, slot 4 digital outputs.
        args.insert(args.end(), {"--slots", "4,14,133,1"});
        sim_ = std::make_unique<SimProcess>(args);
        ASSERT_TRUE(sim_->ready());
        openLink();
        readConfiguration();
        startCycle();
    }

    void TearDown() override { d.Cont->BStopClick(); }

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
            io.CoBoCom->setCurrentIndex(0);   // COM 1
            io.CoBoBaud->setCurrentIndex(6);  // 38400, as the simulator
            io.CoBoFrame->setCurrentIndex(3); // no parity, 1 stop bit
            io.OKClick();
            ASSERT_TRUE(io.Link->SerialPort->isOpen());
        }
        ASSERT_TRUE(t.sink.boxes.empty());
    }

    void readConfiguration()
    {
        d.DeviceConfigForm->BReadConfigClick();
        ASSERT_TRUE(WaitUntil([&] { return d.StationConfig.ConfigValid == 1; }, 8000));
        ASSERT_EQ(d.StationConfig.AnaInCount, 6);
        ASSERT_EQ(d.StationConfig.AnaOutCount, 4);
        t.sink.clear(); // the configuration window's own notice
    }

    void startCycle()
    {
        d.Cont->FormActivate();
        d.Cont->BStartClick();
        ASSERT_TRUE(WaitUntil([&] { return requestCount(sim_->command("show"), 23) >= 3; }, 8000));
        cycleBefore_ = requestCount(sim_->command("show"), 23);
    }

    // The cycle kept exchanging while the windows talked.
    void expectCycleRan()
    {
        EXPECT_TRUE(WaitUntil([&] { return requestCount(sim_->command("show"), 23) > cycleBefore_ + 5; }, 8000));
        EXPECT_TRUE(d.StationFlags & StationFlag::ProcessDataAnswered);
    }

    bool anaDone()
    {
        return WaitUntil([&] { return !d.ParaAna->Timer1->isActive() && !d.ParaAna->Timer3->isActive(); }, 10000);
    }
    bool outDone()
    {
        return WaitUntil([&] { return !d.ParaAnaOut->Timer2->isActive() && !d.ParaAnaOut->Timer4->isActive(); }, 10000);
    }
    QString outCell(int row, int column) const { return d.ParaAnaOut->SgAnaOutPara->item(row, column)->text(); }
    // What the coupler holds, asked by a master nobody here wrote (TCP only:
    // the serial line has one master).
    std::vector<uint16_t> coupler(int address, int count)
    {
        simtest::Master m = simtest::Master::tcp(sim_->port());
        std::vector<uint16_t> regs(size_t(count), 0);
        if (!m.connected() || modbus_read_input_registers(m.get(), address, count, regs.data()) != count)
            ADD_FAILURE() << "libmodbus read of " << count << " registers at " << address << " failed";
        return regs;
    }

    TestStation t;
    ProgramState &d = t.d;
    std::unique_ptr<PtyPair> pty_;
    std::unique_ptr<SimProcess> sim_;
    long cycleBefore_ = 0;
};

TEST_P(ParameterWindowsAgainstSimulator, AnalogInputParametersOfChannelTwo)
{
    TParaAna &w = *d.ParaAna;
    w.FormActivate();
    EXPECT_FALSE(w.Row[6].ComboBox->isHidden());
    EXPECT_TRUE(w.Row[7].ComboBox->isHidden());

    w.ReadAnaInClick();
    ASSERT_TRUE(anaDone());
    ASSERT_TRUE(t.sink.boxes.empty());
    EXPECT_EQ(w.Memo1->toPlainText().split(QLatin1Char('\n')).size(), 1 + 1 + 18);

    TAnaInRow &r2 = w.Row[2];
    r2.ComboBox->setCurrentIndex(7); // TC Typ K
    emit r2.ComboBox->activated(7);
    r2.CoBoUnit->setCurrentIndex(4);
    emit r2.CoBoUnit->activated(4);
    r2.Edit->setText(QStringLiteral("120"));
    r2.Offset->setText(QStringLiteral("-250"));
    r2.CbAktiv->setChecked(true);
    r2.CbSpike->setChecked(false);
    r2.CbScale->setChecked(true);
    w.WriteAnaInClick();
    ASSERT_TRUE(anaDone());
    EXPECT_TRUE(t.sink.boxes.empty());
    EXPECT_EQ(w.Memo1->toPlainText().split(QLatin1Char('\n')).last().left(6), QStringLiteral("0 0 18"));
    if (GetParam() == Link::Tcp) {
        EXPECT_EQ(coupler(0x2003, 3), (std::vector<uint16_t>{0x6402, 120, 0xFF06}));
        EXPECT_EQ(coupler(0x2000, 3), (std::vector<uint16_t>{0, 1, 0}));
    }

    // Forget what the window holds, so that what it shows next comes from the coupler.
    w.AnaInParams = {};
    w.Update_Anzeige();
    ASSERT_EQ(r2.Edit->text(), QStringLiteral("1"));
    w.ReadAnaInClick();
    ASSERT_TRUE(anaDone());
    EXPECT_TRUE(t.sink.boxes.empty());
    EXPECT_EQ(r2.ComboBox->currentText(), QStringLiteral("TC Typ K"));
    EXPECT_EQ(r2.CoBoUnit->currentText(), QString::fromUtf8("°C/10"));
    EXPECT_EQ(r2.Edit->text(), QStringLiteral("120"));
    EXPECT_EQ(r2.ScrollBar->value(), 120);
    EXPECT_EQ(r2.Offset->text(), QStringLiteral("-250"));
    EXPECT_TRUE(r2.CbAktiv->isChecked());
    EXPECT_FALSE(r2.CbSpike->isChecked());
    EXPECT_TRUE(r2.CbScale->isChecked());
    EXPECT_EQ(w.AnaInParams[1].SetupWord, 0x6402);
    // The other channels as the first read left them: the coupler starts with
    // zeros, so active, spike filter on, and filter 0 limited to 1.
    for (int k : {1, 3, 6}) {
        EXPECT_EQ(w.AnaInParams[size_t(k - 1)].SetupWord, 0) << k;
        EXPECT_TRUE(w.Row[size_t(k)].CbAktiv->isChecked()) << k;
        EXPECT_EQ(w.Row[size_t(k)].Edit->text(), QStringLiteral("1")) << k;
        EXPECT_EQ(w.AnaInParams[size_t(k - 1)].FilterValue, 1) << k;
    }
    const QStringList memo = w.Memo1->toPlainText().split(QLatin1Char('\n'));
    EXPECT_TRUE(memo.contains(QStringLiteral("1 :6402")));
    EXPECT_TRUE(memo.contains(QStringLiteral("1 :FFFFFF06")));
    expectCycleRan();
}

TEST_P(ParameterWindowsAgainstSimulator, AnalogOutputTypeAndReactionOfChannelTwo)
{
    TParaAnaOut &w = *d.ParaAnaOut;
    w.FormActivate();
    ASSERT_TRUE(w.BRead->isEnabled());
    w.ReadAnaOutClick();
    ASSERT_TRUE(outDone());
    ASSERT_TRUE(t.sink.boxes.empty());
    ASSERT_EQ(w.SgAnaOutPara->rowCount(), 5);
    EXPECT_EQ(outCell(2, Col::TypeColumn), QStringLiteral("Kanal aus")); // the coupler starts with 0
    EXPECT_EQ(outCell(4, Col::WordColumn), QStringLiteral("0000"));

    w.SgAnaOutParaSelectCell(2, Col::TypeColumn);
    ASSERT_FALSE(w.CbAnaOutTyp->isHidden());
    ASSERT_EQ(w.CbAnaOutTyp->count(), 4);
    w.CbAnaOutTyp->setCurrentIndex(3);
    emit w.CbAnaOutTyp->activated(3);
    w.SgAnaOutParaSelectCell(2, Col::ReactionColumn);
    w.CbAnaOutReaktion->setCurrentIndex(1);
    emit w.CbAnaOutReaktion->activated(1);
    w.SgAnaOutParaSelectCell(3, Col::TypeColumn);
    w.CbAnaOutTyp->setCurrentIndex(3);
    emit w.CbAnaOutTyp->activated(3);
    EXPECT_EQ(outCell(2, Col::WordColumn), QStringLiteral("0013"));
    w.WriteAnaOutClick();
    ASSERT_TRUE(outDone());
    EXPECT_TRUE(t.sink.boxes.empty());
    if (GetParam() == Link::Tcp) {
        EXPECT_EQ(coupler(0x2400, 4), (std::vector<uint16_t>{0, 0x0013, 0x0003, 0}));
    }

    w.AnaOutParams = {};
    w.ShowParams();
    ASSERT_EQ(outCell(2, Col::WordColumn), QStringLiteral("0000"));
    w.ReadAnaOutClick();
    ASSERT_TRUE(outDone());
    EXPECT_TRUE(t.sink.boxes.empty());
    EXPECT_EQ(outCell(2, Col::TypeColumn), QStringLiteral("0..10 V"));
    EXPECT_EQ(outCell(2, Col::ReactionColumn), QStringLiteral("letzten Wert halten"));
    EXPECT_EQ(outCell(2, Col::WordColumn), QStringLiteral("0013"));
    EXPECT_EQ(outCell(3, Col::TypeColumn), QStringLiteral("-10..+10 V")); // variant B: channels 3 and 4
    EXPECT_EQ(outCell(1, Col::WordColumn), QStringLiteral("0000"));
    EXPECT_EQ(w.AnaOutParams[1], 0x0013);
    expectCycleRan();
}

INSTANTIATE_TEST_SUITE_P(Links, ParameterWindowsAgainstSimulator, ::testing::Values(Link::Tcp, Link::Rtu),
                         [](const ::testing::TestParamInfo<Link> &info) {
                             return info.param == Link::Tcp ? std::string("Tcp") : std::string("Rtu");
                         });

} // namespace
