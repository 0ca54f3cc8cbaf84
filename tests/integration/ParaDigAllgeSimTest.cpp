// The digital output parameter window and the general parameter window
// against the running simulator, over loopback TCP and over a socat pty pair,
// while the control window's process data cycle shares the line: what a
// window writes is in the coupler and comes back on the next read.
#include "ProgramOnSimulator.h"
#include "Wait.h"
#include "parameters/TAllgePara.h"
#include "parameters/TParaDig.h"
#include "process/TCont.h"
#include "station/TDeviceConfigForm.h"

#include <QLocale>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace
{

class CommunicationAndFailStateParameters : public ::testing::TestWithParam<SimLink>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(p.ready());
        readConfiguration();
        startCycle();
    }

    void TearDown() override { cont.BStopClick(); }

    void readConfiguration()
    {
        TDeviceConfigForm &config = *d.DeviceConfigForm;
        config.BReadConfigClick();
        ASSERT_TRUE(
            WaitUntil([&] { return d.StationConfig.ConfigValid == 1 && !config.TimerSlotList->isActive(); }, 8000));
        ASSERT_EQ(d.StationConfig.DigOutCount, 12);
        ASSERT_EQ(d.StationConfig.DigOutModuleCount, 2);
        t.sink.clear(); // the configuration window's own notice
    }

    void startCycle()
    {
        cont.FormActivate();
        cont.BStartClick();
        ASSERT_EQ(cont.CycleRunning, 1);
        ASSERT_TRUE(WaitUntil([&] { return p.requestsOf(23) >= 3; }, 8000));
        cyclesBefore_ = p.requestsOf(23);
    }

    // The cycle kept exchanging while the windows talked.
    void expectCycleRan()
    {
        EXPECT_TRUE(WaitUntil([&] { return p.requestsOf(23) > cyclesBefore_ + 5; }, 8000));
        EXPECT_TRUE(d.StationFlags & StationFlag::ProcessDataAnswered);
        EXPECT_EQ(cont.CycleRunning, 1);
    }

    bool digSettled()
    {
        return WaitUntil([&] { return !dig.Anfrage->isActive() && !dig.Timer1->isActive(); }, 10000);
    }
    bool allgeSettled()
    {
        return WaitUntil([&] { return !allge.Timer1->isActive() && !allge.Timer2->isActive(); }, 10000);
    }

    void click(int channel, int item)
    {
        const QList<QRadioButton *> buttons = dig.RadioGroup[size_t(channel)]->findChildren<QRadioButton *>();
        ASSERT_EQ(buttons.size(), 3);
        buttons[item]->click();
    }
    int choice(int channel) const { return dig.RadioGroup[size_t(channel)]->itemIndex(); }
    QStringList memo() const { return dig.Memo1->toPlainText().split(QLatin1Char('\n')); }

    // What the coupler holds, asked by a master nobody here wrote (TCP only:
    // the serial line has one master).
    std::vector<uint16_t> coupler(int address, int count)
    {
        simtest::Master m = simtest::Master::tcp(p.sim->port());
        std::vector<uint16_t> regs(size_t(count), 0);
        if (!m.connected() || modbus_read_input_registers(m.get(), address, count, regs.data()) != count)
            ADD_FAILURE() << "libmodbus read of " << count << " registers at " << address << " failed";
        return regs;
    }

    // Two digital output modules (8 and 4 channels, 12 in all), analog
    // outputs and inputs, digital inputs.
    ProgramOnSimulator p{GetParam(), {"--slots", "1,7,5,4,6"}};
    TestStation &t = p.t;
    ProgramState &d = p.d;
    TParaDig &dig = *d.ParaDig;
    TAllgePara &allge = *d.AllgePara;
    TCont &cont = *d.Cont;
    long cyclesBefore_ = 0;
};

TEST_P(CommunicationAndFailStateParameters, DigitalOutputFailStatesWrittenAndReadBack)
{
    dig.FormActivate();
    ASSERT_TRUE(t.sink.boxes.empty());
    EXPECT_TRUE(dig.RadioGroup[12]->isVisibleTo(&dig));
    EXPECT_FALSE(dig.RadioGroup[13]->isVisibleTo(&dig));

    dig.ReadClick();
    ASSERT_TRUE(digSettled());
    ASSERT_TRUE(t.sink.boxes.empty());
    EXPECT_EQ(memo(), (QStringList{"Verhalten: 0| 00", "State: 0| 00", "Verhalten: 1| 00", "State: 1| 00"}));
    for (int n = 1; n <= 12; ++n)
        EXPECT_EQ(choice(n), 1) << "the coupler starts with Sichere 0, channel " << n;

    click(1, 2); // Sichere 1
    click(8, 0); // letzter Wert
    click(9, 2);
    click(10, 2);
    click(12, 0);
    dig.WriteClick();
    ASSERT_TRUE(digSettled());
    EXPECT_TRUE(t.sink.boxes.empty());
    const QStringList written = memo();
    ASSERT_GE(written.size(), 3);
    EXPECT_TRUE(written[written.size() - 3].endsWith(QStringLiteral("08 10 26 00 00 02 04 80010803")))
        << written[written.size() - 3].toStdString();
    EXPECT_TRUE(written[written.size() - 2].startsWith(QStringLiteral("Antwort : Anzahl: ")));
    EXPECT_TRUE(written.last().endsWith(QStringLiteral("  08  10  26  00  00  02")) ||
                GetParam() == SimLink::Rtu) // an RTU reply ends in its CRC
        << written.last().toStdString();
    if (GetParam() == SimLink::Tcp) {
        EXPECT_EQ(coupler(0x2600, 2), (std::vector<uint16_t>{0x8001, 0x0803}));
    }

    // Forget what the window holds, so that what it shows next comes from the coupler.
    dig.FailStates = {};
    dig.ShowFailStates();
    ASSERT_EQ(choice(1), 1);
    dig.ReadClick();
    ASSERT_TRUE(digSettled());
    EXPECT_TRUE(t.sink.boxes.empty());
    EXPECT_EQ(memo().mid(memo().size() - 4),
              (QStringList{"Verhalten: 0| 80", "State: 0| 01", "Verhalten: 1| 08", "State: 1| 03"}));
    const int expected[] = {2, 1, 1, 1, 1, 1, 1, 0, 2, 2, 1, 0};
    for (int n = 1; n <= 12; ++n)
        EXPECT_EQ(choice(n), expected[n - 1]) << "channel " << n;
    EXPECT_EQ(dig.FailStates.BehaviourBits[0], 0x80);
    EXPECT_EQ(dig.FailStates.StateBits[1], 0x03);
    expectCycleRan();
}

TEST_P(CommunicationAndFailStateParameters, GeneralParametersOfTheLink)
{
    allge.FormActivate();
    ASSERT_TRUE(t.sink.boxes.empty());
    const long resets = p.requestsOf(6);

    if (GetParam() == SimLink::Tcp) {
        // Over Ethernet: the network block, written, read back and reset.
        ASSERT_EQ(d.EthernetSelected, 1);
        ASSERT_TRUE(allge.GBoEthernet->isVisibleTo(&allge));
        allge.ReadClick();
        ASSERT_TRUE(allgeSettled());
        ASSERT_TRUE(t.sink.boxes.empty());
        EXPECT_EQ(allge.CBIpAdresse->currentText(), QStringLiteral("192.168.0.10"));
        EXPECT_EQ(allge.CBIpMask->currentText(), QStringLiteral("255.255.255.0"));
        EXPECT_EQ(allge.CBRoutingGateway[3]->currentText(), QStringLiteral("0.0.0.0"));

        allge.CBIpAdresse->setEditText(QStringLiteral("10.20.30.040"));
        allge.CBIpMask->setEditText(QStringLiteral("255.255.0.0"));
        allge.CBRoutingIP[2]->setEditText(QStringLiteral("172.16.5.0"));
        allge.CBRoutingMask[2]->setEditText(QStringLiteral("255.255.255.0"));
        allge.CBRoutingGateway[2]->setEditText(QStringLiteral("10.20.30.1"));
        allge.EdMetric[2]->setText(QStringLiteral("261"));
        allge.EdMetric[5]->setText(QStringLiteral("7"));
        allge.WriteClick();
        ASSERT_TRUE(allgeSettled());
        EXPECT_TRUE(t.sink.boxes.empty());
        EXPECT_EQ(allge.CBIpAdresse->currentText(), QStringLiteral("10.20.30.40"));
        EXPECT_EQ(coupler(0x3000, 4), (std::vector<uint16_t>{0x0A14, 0x1E28, 0xFFFF, 0x0000}));
        EXPECT_EQ(coupler(0x300B, 7), (std::vector<uint16_t>{0xAC10, 0x0500, 0xFFFF, 0xFF00, 0x0A14, 0x1E01, 261}));
        EXPECT_EQ(coupler(0x3026, 1), (std::vector<uint16_t>{7}));

        for (THistoryComboBox *field : allge.addressFields())
            field->setEditText(QStringLiteral("1.1.1.1"));
        allge.EdMetric[2]->setText(QStringLiteral("0"));
        allge.ReadClick();
        ASSERT_TRUE(allgeSettled());
        EXPECT_TRUE(t.sink.boxes.empty());
        EXPECT_EQ(allge.CBIpAdresse->currentText(), QStringLiteral("10.20.30.40"));
        EXPECT_EQ(allge.CBIpMask->currentText(), QStringLiteral("255.255.0.0"));
        EXPECT_EQ(allge.CBRoutingIP[2]->currentText(), QStringLiteral("172.16.5.0"));
        EXPECT_EQ(allge.CBRoutingMask[2]->currentText(), QStringLiteral("255.255.255.0"));
        EXPECT_EQ(allge.CBRoutingGateway[2]->currentText(), QStringLiteral("10.20.30.1"));
        EXPECT_EQ(allge.CBRoutingIP[1]->currentText(), QStringLiteral("0.0.0.0"));
        EXPECT_EQ(allge.EdMetric[2]->text(), QStringLiteral("261"));
        EXPECT_EQ(allge.EdMetric[5]->text(), QStringLiteral("7"));

        allge.BSetComDefaultClick();
        ASSERT_TRUE(allgeSettled());
        EXPECT_TRUE(t.sink.boxes.empty());
        EXPECT_EQ(p.requestsOf(6), resets + 1);
        EXPECT_EQ(coupler(0x3000, 4), (std::vector<uint16_t>{0xC0A8, 0x000A, 0xFFFF, 0xFF00}));
        allge.ReadClick();
        ASSERT_TRUE(allgeSettled());
        EXPECT_TRUE(t.sink.boxes.empty());
        EXPECT_EQ(allge.CBIpAdresse->currentText(), QStringLiteral("192.168.0.10"));
        EXPECT_EQ(allge.CBRoutingGateway[2]->currentText(), QStringLiteral("0.0.0.0"));
        EXPECT_EQ(allge.EdMetric[2]->text(), QStringLiteral("0"));
    } else {
        // Over the serial line: the one time value.
        ASSERT_EQ(d.EthernetSelected, 0);
        ASSERT_TRUE(allge.GBoSeriell->isVisibleTo(&allge));
        ASSERT_FALSE(allge.GBoEthernet->isVisibleTo(&allge));
        const QString sep = QLocale::system().decimalPoint();
        allge.ReadClick();
        ASSERT_TRUE(allgeSettled());
        ASSERT_TRUE(t.sink.boxes.empty());
        EXPECT_EQ(allge.Edit1->text(), QStringLiteral("20")); // the simulator's default
        EXPECT_EQ(allge.Edit2->text(), QStringLiteral("0") + sep + QStringLiteral("01042"));

        allge.Edit2->setText(QStringLiteral("1"));
        ASSERT_EQ(allge.SerialTimeRaw, 1919);
        allge.WriteClick();
        ASSERT_TRUE(allgeSettled());
        EXPECT_TRUE(t.sink.boxes.empty());
        EXPECT_EQ(p.requestsOf(6), resets + 1);

        allge.Edit2->setText(QStringLiteral("0"));
        ASSERT_EQ(allge.SerialTimeRaw, 0);
        allge.ReadClick();
        ASSERT_TRUE(allgeSettled());
        EXPECT_TRUE(t.sink.boxes.empty());
        EXPECT_EQ(allge.SerialTimeRaw, 1919);
        EXPECT_EQ(allge.Edit1->text(), QStringLiteral("1919"));
        EXPECT_EQ(allge.Edit2->text(), QStringLiteral("0") + sep + QStringLiteral("999799"));
    }
    expectCycleRan();
}

INSTANTIATE_TEST_SUITE_P(Links, CommunicationAndFailStateParameters, ::testing::Values(SimLink::Tcp, SimLink::Rtu),
                         [](const ::testing::TestParamInfo<SimLink> &info) { return SimLinkName(info.param); });

} // namespace
