// Windows talking to the simulator while the process data cycle runs beside
// them, over TCP and over a serial line: every window gets its own reply, and
// the process image takes only the cycle's.
#include "ProgramOnSimulator.h"
#include "Wait.h"
#include "parameters/TParaAnaIn32Bit.h"
#include "process/TCont.h"
#include "station/TDeviceConfigForm.h"

#include <gtest/gtest.h>

namespace
{

// Eight strain gauge modules (32-bit channels 1..16), then four 16-bit analog
// inputs (channels 17..20).
const std::vector<std::string> Station = {"--slots", "10,10,10,10,10,10,10,10,4"};

class SharedLinkAgainstSimulator : public ::testing::TestWithParam<SimLink>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(p.ready());
        ASSERT_EQ(p.sim->command("ai 1 -70000"), "ok\n");
        ASSERT_EQ(p.sim->command("ai 16 123456"), "ok\n");
        ASSERT_EQ(p.sim->command("ai 17 1234"), "ok\n");
        d.DataTimeout = 10; // the cycle every 20 ms
        d.ParaTimeout = 40;
        readConfiguration();
        ASSERT_EQ(d.StationConfig.AnaIn32Count, 16);
        para.FormActivate();
        cont.FormActivate();
    }
    void TearDown() override { cont.BStopClick(); }

    void readConfiguration()
    {
        config.BReadConfigClick();
        ASSERT_TRUE(configDone());
        ASSERT_EQ(d.StationConfig.ConfigValid, 1);
    }
    bool configDone()
    {
        return WaitUntil([&] { return !config.TimerIdentity->isActive() && !config.TimerSlotList->isActive(); }, 15000);
    }
    bool paraDone()
    {
        return WaitUntil([&] { return !para.Timer1->isActive() && !para.Timer3->isActive(); }, 15000);
    }
    // The process image holds the coupler's values, never another window's reply.
    void expectImage(const char *when)
    {
        EXPECT_EQ(d.AnaInAllValues[0], -70000) << when;
        EXPECT_EQ(d.AnaInAllValues[15], 123456) << when;
        EXPECT_EQ(d.AnaInAllValues[16], 1234) << when;
    }
    long cycleRequests() { return p.requestsOf(23); }
    TAnaIn32Row &row(int k) { return para.Row[static_cast<size_t>(k)]; }

    ProgramOnSimulator p{GetParam(), Station};
    ProgramState &d = p.d;
    TCont &cont = *d.Cont;
    TParaAnaIn32Bit &para = *d.ParaAnaIn32Bit;
    TDeviceConfigForm &config = *d.DeviceConfigForm;
};

TEST_P(SharedLinkAgainstSimulator, ParameterWindowGetsItsOwnReplyFiftyTimesWhileTheCycleRuns)
{
    cont.BStartClick();
    ASSERT_TRUE(WaitUntil([&] { return d.StationFlags & StationFlag::ProcessDataAnswered; }));
    expectImage("before");
    const long cyclesBefore = cycleRequests();
    for (int round = 1; round <= 50; ++round) {
        SCOPED_TRACE(round);
        for (int k = 1; k <= 16; ++k) {
            row(k).Edit->setText(QString::number((round + k) % 200 + 1));
            row(k).PV1_->setText(QString::number(1000 * round + k));
            row(k).FV2_->setText(QString::number(-round - k));
        }
        para.WriteAnaInClick();
        ASSERT_TRUE(paraDone());
        para.AnaIn32Params = {};
        para.ShowRecords();
        para.ReadAnaInClick();
        ASSERT_TRUE(paraDone());
        ASSERT_TRUE(p.t.sink.boxes.empty()) << p.t.sink.boxes[0].text.toStdString();
        for (int k : {1, 8, 9, 16}) {
            EXPECT_EQ(row(k).Typ->text(), QStringLiteral("4mV/V")) << "channel " << k;
            EXPECT_EQ(row(k).Edit->text(), QString::number((round + k) % 200 + 1)) << "channel " << k;
            EXPECT_EQ(row(k).PV1_->text(), QString::number(1000 * round + k)) << "channel " << k;
            EXPECT_EQ(row(k).FV2_->text(), QString::number(-round - k)) << "channel " << k;
        }
        expectImage("between");
    }
    // The cycle went on all the while.
    EXPECT_GT(cycleRequests(), cyclesBefore + 50);
    EXPECT_TRUE(d.StationFlags & StationFlag::ProcessDataAnswered);
    EXPECT_TRUE(p.t.sink.boxes.empty());
}

TEST_P(SharedLinkAgainstSimulator, ConfigurationReadWhileTheCycleRuns)
{
    cont.BStartClick();
    ASSERT_TRUE(WaitUntil([&] { return d.StationFlags & StationFlag::ProcessDataAnswered; }));
    config.MDataTransfer->clear();
    readConfiguration();
    EXPECT_EQ(config.EdProdukt->text(), QStringLiteral("VO3112"));
    EXPECT_EQ(config.EdInfo->text(), QStringLiteral("VO Simulation"));
    EXPECT_FALSE(config.MDataTransfer->toPlainText().contains(QStringLiteral("Timeout")));
    EXPECT_EQ(d.StationConfig.AnaInCount, 4);
    EXPECT_EQ(d.StationConfig.SlotModuleIds[9], 4);
    EXPECT_TRUE(p.t.sink.boxes.empty());
    const long before = cycleRequests();
    EXPECT_TRUE(WaitUntil([&] { return cycleRequests() > before + 5; }));
    expectImage("after");
}

TEST_P(SharedLinkAgainstSimulator, TwoWindowsSendingInTheSameTurnEachGetTheirOwnReply)
{
    cont.BStartClick();
    ASSERT_TRUE(WaitUntil([&] { return d.StationFlags & StationFlag::ProcessDataAnswered; }));
    row(3).PV2_->setText(QStringLiteral("-4242"));
    para.WriteAnaInClick();
    ASSERT_TRUE(paraDone());
    para.AnaIn32Params = {};
    para.ShowRecords();

    config.MDataTransfer->clear();
    // The read first: the configuration read clears the counts it is sized from.
    para.ReadAnaInClick();
    config.BReadConfigClick();
    ASSERT_TRUE(configDone());
    ASSERT_TRUE(paraDone());
    for (const MessageRequest &box : p.t.sink.boxes)
        ADD_FAILURE() << box.text.toStdString();
    EXPECT_EQ(d.StationConfig.ConfigValid, 1);
    EXPECT_EQ(config.EdVersion->text(), QStringLiteral("1.00"));
    EXPECT_EQ(row(3).PV2_->text(), QStringLiteral("-4242"));
    EXPECT_TRUE(p.t.sink.boxes.empty());
    expectImage("after");
}

TEST_P(SharedLinkAgainstSimulator, WithASilentCouplerTheWaitingRequestGoesOutOnceTheFirstIsGivenUp)
{
    row(2).PV1_->setText(QStringLiteral("777"));
    para.WriteAnaInClick();
    ASSERT_TRUE(paraDone());
    para.AnaIn32Params = {};
    para.ShowRecords();

    // The cycle waits 6 (TCP) or 3 (RTU) periods of 500 ms for its reply; the
    // read waits longer, behind it.
    d.DataTimeout = 500;
    d.ParaTimeout = 1000;
    d.StationFlags |= StationFlag::ProcessDataAnswered;
    ASSERT_EQ(p.sim->command("drop 100"), "ok\n");
    cont.AnfrageTimer();   // one cycle request, which the coupler ignores
    para.ReadAnaInClick(); // waits behind it
    RunEvents(200);        // the request reaches the coupler
    ASSERT_EQ(p.sim->command("faults off"), "ok\n");
    ASSERT_TRUE(paraDone());
    // The cycle gave up; the read went out after it and got its reply.
    EXPECT_EQ(d.StationFlags & StationFlag::ProcessDataAnswered, 0);
    EXPECT_TRUE(p.t.sink.boxes.empty());
    EXPECT_EQ(row(2).PV1_->text(), QStringLiteral("777"));
    EXPECT_EQ(row(1).Typ->text(), QStringLiteral("4mV/V"));
}

INSTANTIATE_TEST_SUITE_P(Links, SharedLinkAgainstSimulator, ::testing::Values(SimLink::Tcp, SimLink::Rtu),
                         [](const ::testing::TestParamInfo<SimLink> &info) { return SimLinkName(info.param); });

} // namespace
