// "Daten Timeout in ms" typed while the cycle runs against the simulator over
// the real transport: texts the field does not take leave the cycle's pace as
// it was (0 once flooded the coupler), and a shorter period counts at once
// (999999999 then 100 once stopped the cycle until Stop and Start).
#include "../process/StationFixture.h"
#include "ProgramOnSimulator.h"
#include "Wait.h"
#include "monitor/TVo3112CCC.h"
#include "process/TCont.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace
{

constexpr int ProcessData = 23;

class TimeoutFieldAgainstSimulator : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(p.ready());
        stationfixture::LoadStation(d.StationConfig, stationfixture::DemoSlots);
        cont.FormActivate();
        cont.BStartClick();
        ASSERT_TRUE(WaitUntil([&] { return p.requestsOf(ProcessData) >= 3; }, 8000)) << "the cycle does not run";
    }
    void TearDown() override { cont.BStopClick(); }

    void typeAndLeave(const char *text)
    {
        main.Edit1->setText(QString::fromLatin1(text));
        emit main.Edit1->editingFinished();
    }

    // Cycle requests the simulator answered while a reference timer of the
    // same event loop ticked `ticks` times at the default period: about one
    // request per two ticks at DataTimeout 100, thousands when it is 0.
    long requestsDuring(int ticks)
    {
        int ticked = 0;
        QTimer clock;
        QObject::connect(&clock, &QTimer::timeout, [&] { ++ticked; });
        const long before = p.requestsOf(ProcessData);
        clock.start(100);
        WaitUntil([&] { return ticked >= ticks; }, 60000);
        return p.requestsOf(ProcessData) - before;
    }

    ProgramOnSimulator p{SimLink::Tcp};
    RecordingMessageSink &sink = p.t.sink;
    ProgramState &d = p.d;
    TCont &cont = *d.Cont;
    TVo3112CCC &main = *d.Vo3112CCC;
};

TEST_F(TimeoutFieldAgainstSimulator, TextsTheFieldRefusesLeaveThePeriodAsItWas)
{
    for (const char *text : {"0", "-1", "60001", "abc", "999999999"}) {
        SCOPED_TRACE(text);
        sink.clear();
        typeAndLeave(text);
        // 20 ticks of 100 ms: about ten cycles of 2 x 100 ms. Neither a flood
        // nor a stop.
        const long requests = requestsDuring(20);
        EXPECT_GE(requests, 2);
        EXPECT_LE(requests, 40);
        EXPECT_EQ(d.DataTimeout, 100);
        EXPECT_EQ(main.Edit1->text(), QStringLiteral("100"));
        EXPECT_EQ(sink.conversionErrors.size(), 1u);
        if (!sink.conversionErrors.empty()) {
            EXPECT_TRUE(sink.conversionErrors[0].contains(QString::fromLatin1(text)));
        }
    }
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(TimeoutFieldAgainstSimulator, AShorterPeriodTakesEffectAtOnce)
{
    typeAndLeave("5000");
    ASSERT_EQ(d.DataTimeout, 5000);
    // The waiting timer took the long period at once ...
    ASSERT_TRUE(cont.Anfrage->isActive() || cont.Antwort->isActive());
    EXPECT_EQ((cont.Anfrage->isActive() ? cont.Anfrage : cont.Antwort)->interval(), 5000);
    const long before = p.requestsOf(ProcessData);

    // ... and the short one too: three cycles go by well before the 5 s the
    // long period would still wait for the first.
    typeAndLeave("100");
    ASSERT_EQ(d.DataTimeout, 100);
    EXPECT_TRUE(WaitUntil([&] { return p.requestsOf(ProcessData) >= before + 3; }, 4000))
        << p.requestsOf(ProcessData) - before << " requests since";
    EXPECT_TRUE(sink.conversionErrors.empty());
}

} // namespace
