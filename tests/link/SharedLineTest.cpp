// Two windows on one line: the control window's cycle and the 32-bit
// parameter window, each given only its own reply, in the order the line
// carried their requests.
#include "../process/StationFixture.h"
#include "TestStation.h"
#include "link/Exchange.h"
#include "link/Transport.h"
#include "parameters/TParaAnaIn32Bit.h"
#include "process/AutomationController.h"
#include "process/ProcessImage.h"
#include "process/TCont.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace
{

struct TwoWindows : ::testing::Test {
    TwoWindows()
    {
        stationfixture::LoadStation(d.StationConfig, stationfixture::DemoSlots);
        cont.FormActivate();
        para.FormActivate();
        t.sink.clear();
    }
    // The cycle's reply: analog input 1 = `value`, everything else 0.
    std::vector<quint8> cycleReply(quint8 value) const
    {
        const int bytes = 2 * ProcessReadQuantity(d.StationConfig);
        std::vector<quint8> frame = {8, 0x17, static_cast<quint8>(bytes)};
        frame.resize(3 + static_cast<size_t>(bytes), 0);
        frame[4] = value;
        frame.insert(frame.end(), {0, 0}); // CRC, as the serial line leaves it
        return frame;
    }
    // The 32-bit read of two channels: 16 bytes, mode words 0x0A01 and 0x0A02.
    std::vector<quint8> paraReply() const
    {
        std::vector<quint8> frame = {8, 0x04, 32};
        for (quint8 k : {1, 2}) {
            const std::vector<quint8> channel = {0, 71, 0x0A, k, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3};
            frame.insert(frame.end(), channel.begin(), channel.end());
        }
        return frame;
    }
    // Unit and function code of the request on the line (TxFrame is refilled
    // by every window that asks, whether or not its request went out yet).
    std::vector<int> sent() const
    {
        if (!line.outstanding())
            return {};
        const ModbusBuffer &f = line.outstanding()->frame;
        return {f[6], f[7]};
    }

    TestStation t;
    ProgramState &d = t.d;
    TCont &cont = *d.Cont;
    TParaAnaIn32Bit &para = *d.ParaAnaIn32Bit;
    const LineQueue &line = d.Link->line();
};

TEST_F(TwoWindows, EachWindowGetsItsOwnReplyWhateverArrivesFirst)
{
    cont.AnfrageTimer();   // the cycle's request goes out
    para.ReadAnaInClick(); // waits behind it
    EXPECT_EQ(sent(), (std::vector<int>{8, 0x17}));
    EXPECT_EQ(line.waiting(), 1);

    // A parameter reply while the cycle waits is not the cycle's.
    HandReply(d, paraReply());
    cont.AntwortTimer();
    EXPECT_TRUE(cont.Antwort->isActive()); // still waiting
    EXPECT_EQ(d.StationFlags & StationFlag::ProcessDataAnswered, 0);
    EXPECT_EQ(line.waiting(), 1);

    // The cycle's reply: the parameter read goes out at once.
    HandReply(d, cycleReply(7));
    EXPECT_EQ(sent(), (std::vector<int>{8, 0x04}));
    EXPECT_EQ(d.TxFrame[8] << 8 | d.TxFrame[9], 0x2200);
    // A second cycle request queues behind the read.
    cont.AntwortTimer();
    EXPECT_EQ(d.AnaInValues[0], 7);
    cont.AnfrageTimer();
    EXPECT_EQ(line.waiting(), 1);

    // Another cycle reply while the read waits: not the window's, nothing taken.
    HandReply(d, cycleReply(9));
    para.Timer1Timer();
    EXPECT_TRUE(para.Timer1->isActive());
    EXPECT_EQ(para.AnaIn32Params[0].ModeWord, 0x3300);

    HandReply(d, paraReply());
    EXPECT_EQ(sent(), (std::vector<int>{8, 0x17})); // the cycle's turn again
    para.Timer1Timer();
    EXPECT_EQ(para.AnaIn32Params[0].ModeWord, 0x0A01);
    EXPECT_EQ(para.AnaIn32Params[1].ModeWord, 0x0A02);
    EXPECT_EQ(d.AnaInValues[0], 7); // the reply held for the cycle was never the image
    HandReply(d, cycleReply(9));
    cont.AntwortTimer();
    EXPECT_EQ(d.AnaInValues[0], 9);
    EXPECT_TRUE(t.sink.boxes.empty());
    EXPECT_EQ(line.state(), LineQueue::State::Idle);
}

TEST_F(TwoWindows, AWindowThatGivesUpLetsTheNextRequestOut)
{
    d.RetryLimit = 1;
    cont.AnfrageTimer();
    para.ReadAnaInClick();
    cont.AntwortTimer(); // pending
    EXPECT_EQ(sent(), (std::vector<int>{8, 0x17}));
    cont.AntwortTimer(); // timed out: the read goes out
    EXPECT_EQ(d.StationFlags & StationFlag::ProcessDataAnswered, 0);
    EXPECT_EQ(sent(), (std::vector<int>{8, 0x04}));
    // The late cycle reply is passed over; the read's reply is taken.
    HandReply(d, cycleReply(5));
    HandReply(d, paraReply());
    para.Timer1Timer();
    EXPECT_EQ(para.AnaIn32Params[1].ModeWord, 0x0A02);
    EXPECT_TRUE(t.sink.boxes.empty());
}

TEST_F(TwoWindows, AReplyArrivingAfterItsWindowGaveUpReachesNobody)
{
    d.RetryLimit = 0;
    para.ReadAnaInClick();
    para.Timer1Timer();
    ASSERT_EQ(t.sink.boxes.size(), 1u);
    EXPECT_EQ(t.sink.boxes[0].text, QStringLiteral("Timeout"));
    HandReply(d, paraReply()); // late
    para.Timer1Timer();        // a stray tick: nothing asked
    EXPECT_EQ(para.AnaIn32Params[0].ModeWord, 0x3300);
    EXPECT_EQ(t.sink.boxes.size(), 1u);
    // The next request starts from nothing: the late reply is not taken for it.
    d.RetryLimit = 1;
    cont.AnfrageTimer();
    cont.AntwortTimer();
    EXPECT_TRUE(cont.Antwort->isActive());
}

TEST_F(TwoWindows, BackInTheControlWindowFreesTheLine)
{
    cont.AnfrageTimer();
    para.ReadAnaInClick();
    cont.BBackClick();
    EXPECT_FALSE(cont.Antwort->isActive());
    EXPECT_EQ(sent(), (std::vector<int>{8, 0x04}));
}

TEST_F(TwoWindows, AnExchangeThatEndsLeavesTheQueue)
{
    int retries = 0;
    QTimer timer;
    {
        Exchange gone(d, retries);
        para.ReadAnaInClick();
        d.TxFrame[6] = 8;
        d.TxFrame[7] = 0x2B;
        gone.send(&timer, 100, 8);
        EXPECT_EQ(line.waiting(), 1);
    }
    EXPECT_EQ(line.waiting(), 0);
    // The read is still outstanding and gets its reply.
    HandReply(d, paraReply());
    para.Timer1Timer();
    EXPECT_EQ(para.AnaIn32Params[0].ModeWord, 0x0A01);
}

TEST_F(TwoWindows, RestartCommandGoesOutAheadOfAnythingAwaited)
{
    cont.BStartClick();
    cont.AnfrageTimer();
    para.ReadAnaInClick();
    t.station.automation->AutoRestart();
    EXPECT_EQ(sent(), (std::vector<int>{8, 0x2A}));
    EXPECT_EQ(line.waiting(), 0);
    t.station.automation->TimerAutoRestart->stop();
}

} // namespace
