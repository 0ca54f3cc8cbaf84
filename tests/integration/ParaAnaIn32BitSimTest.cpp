// The 32-bit analog input parameter window against the running simulator:
// parameters written by the window are in the coupler and come back into the
// window's controls.
#include "SimHarness.h"
#include "TestStation.h"
#include "Wait.h"
#include "link/Transport.h"
#include "parameters/TParaAnaIn32Bit.h"

#include <QHostAddress>
#include <gtest/gtest.h>

namespace
{

using simtest::Master;
using simtest::SimProcess;

// The program connected over TCP to a simulator with `slotList`, configured for
// `channels` strain gauge channels.
struct Connected {
    Connected(const std::string &slotList, int channels) : sim({"--tcp", "127.0.0.1:0", "--slots", slotList})
    {
        if (!sim.ready())
            return;
        t.d.Link->ClientSocket->connectToHost(QHostAddress::LocalHost, sim.port());
        connected = WaitUntil([&] { return t.d.Link->tcpOpen(); });
        t.d.StationConfig.AnaIn32Count = static_cast<quint16>(channels);
        t.d.StationConfig.ConfigValid = 1;
        t.d.ParaTimeout = 100;
        w->FormActivate();
        t.sink.clear();
    }
    bool transferDone()
    {
        return WaitUntil([&] { return !w->Timer1->isActive() && !w->Timer3->isActive(); }, 10000);
    }
    std::vector<uint16_t> coupler(int address, int count)
    {
        Master m = Master::tcp(sim.port());
        std::vector<uint16_t> regs(size_t(count), 0);
        if (!m.connected() || modbus_read_input_registers(m.get(), address, count, regs.data()) != count)
            ADD_FAILURE() << "libmodbus read of " << count << " registers at " << address << " failed";
        return regs;
    }
    // Forget what the window holds, so that what it shows next comes from the coupler.
    void scramble()
    {
        w->AnaIn32Params = {};
        w->ShowRecords();
    }
    TAnaIn32Row &row(int k) { return w->Row[size_t(k)]; }
    void choose(QComboBox *combo, int index)
    {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    SimProcess sim;
    TestStation t;
    TParaAnaIn32Bit *w = t.d.ParaAnaIn32Bit;
    bool connected = false;
};

TEST(ParaAnaIn32BitAgainstSimulator, TwoChannelsWrittenAndReadBack)
{
    Connected c("2,6,7,1,4,10,14,5,0", 2); // one strain gauge module
    ASSERT_TRUE(c.connected);

    TAnaIn32Row &r1 = c.row(1);
    r1.CbSpike->setChecked(false);
    r1.CbScale->setChecked(true);
    r1.Edit->setText(QStringLiteral("200"));
    c.choose(r1.CoBoAus, 2);
    c.choose(r1.CoBoFormat, 4);
    r1.PV1_->setText(QStringLiteral("-1500"));
    r1.PV2_->setText(QStringLiteral("25000"));
    r1.FV2_->setText(QStringLiteral("30000"));
    TAnaIn32Row &r2 = c.row(2);
    r2.CbAktiv->setChecked(false);
    r2.CbValue->setChecked(true);
    r2.ScrollBar->setValue(7);
    c.choose(r2.CoBoAus, 3);
    c.choose(r2.CoBoFormat, 1);
    r2.PV1_->setText(QStringLiteral("100"));
    r2.PV2_->setText(QStringLiteral("-200"));
    r2.FV2_->setText(QStringLiteral("123456789"));

    c.w->WriteAnaInClick();
    ASSERT_TRUE(c.transferDone());
    EXPECT_TRUE(c.t.sink.boxes.empty());
    EXPECT_EQ(c.w->Memo1->toPlainText().split(QLatin1Char('\n')).last(), QStringLiteral("0 0 16"));

    const std::vector<uint16_t> expected = {0x6047, 0xC842, 0xFFFF, 0xFA24, 0x0000, 0x61A8, 0x0000, 0x7530,
                                            0x8847, 0x0713, 0x0000, 0x0064, 0xFFFF, 0xFF38, 0x075B, 0xCD15};
    EXPECT_EQ(c.coupler(0x2200, 16), expected);

    c.scramble();
    ASSERT_EQ(r1.Typ->text(), QStringLiteral("???"));
    c.w->ReadAnaInClick();
    ASSERT_TRUE(c.transferDone());
    EXPECT_TRUE(c.t.sink.boxes.empty());

    EXPECT_EQ(r1.Typ->text(), QStringLiteral("4mV/V"));
    EXPECT_TRUE(r1.CbAktiv->isChecked());
    EXPECT_FALSE(r1.CbSpike->isChecked());
    EXPECT_TRUE(r1.CbScale->isChecked());
    EXPECT_FALSE(r1.CbValue->isChecked());
    EXPECT_EQ(r1.Edit->text(), QStringLiteral("200"));
    EXPECT_EQ(r1.CoBoAus->currentText(), QStringLiteral("Tara"));
    EXPECT_EQ(r1.CoBoFormat->currentText(), QStringLiteral("res Tara"));
    EXPECT_EQ(r1.PV1_->text(), QStringLiteral("-1500"));
    EXPECT_EQ(r1.PV2_->text(), QStringLiteral("25000"));
    EXPECT_EQ(r1.FV2_->text(), QStringLiteral("30000"));

    EXPECT_EQ(r2.Typ->text(), QStringLiteral("4mV/V"));
    EXPECT_FALSE(r2.CbAktiv->isChecked());
    EXPECT_TRUE(r2.CbValue->isChecked());
    EXPECT_EQ(r2.ScrollBar->value(), 7);
    EXPECT_EQ(r2.Edit->text(), QStringLiteral("7"));
    EXPECT_EQ(r2.CoBoAus->currentText(), QStringLiteral("Offset"));
    EXPECT_EQ(r2.CoBoFormat->currentText(), QStringLiteral("Null"));
    EXPECT_EQ(r2.PV1_->text(), QStringLiteral("100"));
    EXPECT_EQ(r2.PV2_->text(), QStringLiteral("-200"));
    EXPECT_EQ(r2.FV2_->text(), QStringLiteral("123456789"));
}

TEST(ParaAnaIn32BitAgainstSimulator, SixteenChannelsGoInTwoRequestsEachWay)
{
    Connected c("10,10,10,10,10,10,10,10", 16);
    ASSERT_TRUE(c.connected);
    for (int k = 1; k <= 16; ++k) {
        c.row(k).Edit->setText(QString::number(10 + k));
        c.row(k).CbFormat->setChecked(k % 2 == 0);
        c.row(k).PV1_->setText(QString::number(100 * k));
        c.row(k).FV2_->setText(QString::number(-k));
    }
    c.w->WriteAnaInClick();
    ASSERT_TRUE(c.transferDone());
    EXPECT_TRUE(c.t.sink.boxes.empty());
    EXPECT_EQ(c.coupler(0x2278, 8), (std::vector<uint16_t>{0x1047, 0x1A00, 0, 1600, 0, 10000, 0xFFFF, 0xFFF0}));
    EXPECT_EQ(c.coupler(0x2200, 2), (std::vector<uint16_t>{0x0047, 0x0B00}));

    c.scramble();
    c.w->ReadAnaInClick();
    ASSERT_TRUE(c.transferDone());
    EXPECT_TRUE(c.t.sink.boxes.empty());
    for (int k = 1; k <= 16; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(c.row(k).Typ->text(), QStringLiteral("4mV/V"));
        EXPECT_EQ(c.row(k).Edit->text(), QString::number(10 + k));
        EXPECT_EQ(c.row(k).CbFormat->isChecked(), k % 2 == 0);
        EXPECT_EQ(c.row(k).PV1_->text(), QString::number(100 * k));
        EXPECT_EQ(c.row(k).PV2_->text(), QStringLiteral("10000"));
        EXPECT_EQ(c.row(k).FV2_->text(), QString::number(-k));
    }
}

} // namespace
