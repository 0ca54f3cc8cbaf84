#include "StationFixture.h"
#include "TestStation.h"

#include "process/TCont.h"
#include "process/TTrend.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

namespace
{

using stationfixture::LoadStation;
constexpr int Dig0 = TrendBuffer::AnalogChannels;

class TrendWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Slot 1: four 16-bit inputs, slot 2: two 32-bit inputs, slot 3: eight digital inputs.
        LoadStation(d.StationConfig, {3, 10, 6, 0, 0, 0, 0, 0, 0});
        cont.FormActivate();
        t.sink.clear();
    }
    // One cycle with a reply: AI 1..4 = a, a+1, a+2, a+3; AI 5, 6 = -70000, 123456; DI byte 0 = bits.
    void cycle(qint16 a, quint8 bits)
    {
        std::vector<quint8> frame = {d.SlaveAddress, 0x17, 18};
        for (int i = 0; i < 4; ++i) {
            const auto v = static_cast<quint16>(a + i);
            frame.insert(frame.end(), {quint8(v >> 8), quint8(v)});
        }
        for (qint32 v : {-70000, 123456}) {
            const auto u = static_cast<quint32>(v);
            frame.insert(frame.end(), {quint8(u >> 24), quint8(u >> 16), quint8(u >> 8), quint8(u)});
        }
        frame.insert(frame.end(), {bits, 0, 0, 0}); // digital register, CRC
        cont.AnfrageTimer();
        HandReply(d, frame);
        cont.AntwortTimer();
    }
    TestStation t;
    ProgramState &d = t.d;
    TCont &cont = *d.Cont;
    TTrend &w = *d.Trend;
};

TEST_F(TrendWindow, EachUsableReplyBecomesOneImage)
{
    cycle(100, 0x05);
    ASSERT_EQ(w.buffer().fineCount(), 1);
    const qint64 at = w.buffer().latestTime();
    EXPECT_EQ(w.buffer().valueAt(0, at), 100);
    EXPECT_EQ(w.buffer().valueAt(3, at), 103);
    EXPECT_EQ(w.buffer().valueAt(4, at), -70000);
    EXPECT_EQ(w.buffer().valueAt(5, at), 123456);
    EXPECT_EQ(w.buffer().valueAt(Dig0, at), 1);
    EXPECT_EQ(w.buffer().valueAt(Dig0 + 1, at), 0);
    EXPECT_EQ(w.buffer().valueAt(Dig0 + 2, at), 1);

    // The channels of the station: analog shown, digital offered.
    ASSERT_EQ(w.LBChannels->count(), 6 + 8);
    EXPECT_EQ(w.LBChannels->item(0)->text(), u"AE 1"_qs);
    EXPECT_EQ(w.LBChannels->item(6)->text(), u"DE 1"_qs);
    EXPECT_EQ(w.shownChannels(), (std::vector<int>{0, 1, 2, 3, 4, 5}));

    // An exception, and a reply whose byte count does not fit: no image.
    cont.AnfrageTimer();
    HandReply(d, {d.SlaveAddress, 0x97, 0x02, 0, 0});
    cont.AntwortTimer();
    cont.AnfrageTimer();
    HandReply(d, {d.SlaveAddress, 0x17, 2, 0, 1, 0, 0});
    cont.AntwortTimer();
    EXPECT_EQ(w.buffer().fineCount(), 1);
    cycle(7, 0);
    EXPECT_EQ(w.buffer().fineCount(), 2);
}

TEST_F(TrendWindow, CurvesPauseCursorAndScale)
{
    // Opened before the first reply: the channels of the configuration.
    w.show();
    ASSERT_EQ(w.LBChannels->count(), 6 + 8);
    cycle(0, 0);
    w.LBChannels->item(6)->setCheckState(Qt::Checked); // DE 1
    for (int i = 0; i < 50; ++i) {
        d.AnaInAllValues[0] = i * 10;
        d.DigInBytes[0] = static_cast<quint8>(i % 2);
        w.AddImageAt(100000 + i * 100);
    }
    w.RedrawTimerTimer();
    ASSERT_NE(w.seriesOf(0), nullptr);
    ASSERT_NE(w.seriesOf(Dig0), nullptr);
    EXPECT_EQ(w.seriesOf(Dig0 + 1), nullptr); // not chosen
    // The last 10 s: the newest image at 0 s.
    const QList<QPointF> line = w.seriesOf(0)->points();
    ASSERT_FALSE(line.isEmpty());
    EXPECT_DOUBLE_EQ(line.last().x(), 0.0);
    EXPECT_DOUBLE_EQ(line.last().y(), 490.0);
    // Automatic scale: the analog values with a margin.
    EXPECT_LE(w.valueAxis()->min(), -70000);
    EXPECT_GE(w.valueAxis()->max(), 123456);

    w.BPauseClick();
    EXPECT_TRUE(w.paused());
    EXPECT_EQ(w.BPause->text(), u"Weiter"_qs);
    const qint64 frozen = w.viewEnd();
    d.AnaInAllValues[0] = 9999;
    w.AddImageAt(200000);
    w.RedrawTimerTimer();
    EXPECT_EQ(w.viewEnd(), frozen);
    EXPECT_DOUBLE_EQ(w.seriesOf(0)->points().last().y(), 490.0);

    // The cursor reads the values at its time.
    w.SetCursor(frozen - 1000);
    EXPECT_TRUE(w.LCursor->text().contains(u"AE 1 = 390"_qs)) << w.LCursor->text().toStdString();
    EXPECT_TRUE(w.LCursor->text().contains(u"AE 6 = 123456"_qs));
    EXPECT_TRUE(w.LCursor->text().contains(u"DE 1 = 1"_qs));

    w.BPauseClick();
    EXPECT_EQ(w.viewEnd(), 200000);
    EXPECT_DOUBLE_EQ(w.seriesOf(0)->points().last().y(), 9999.0);

    // Fixed scale; one that cannot be drawn is not taken.
    w.CBAutoScale->setChecked(false);
    w.CBAutoScaleClick();
    w.EMin->setText(u"-50"_qs);
    w.EMax->setText(u"500"_qs);
    w.EScaleChange();
    EXPECT_DOUBLE_EQ(w.valueAxis()->min(), -50.0);
    EXPECT_DOUBLE_EQ(w.valueAxis()->max(), 500.0);
    w.EMax->setText(u"-100"_qs);
    w.EScaleChange();
    EXPECT_DOUBLE_EQ(w.valueAxis()->max(), 500.0);

    // A channel unchosen loses its curve.
    w.LBChannels->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(w.seriesOf(0), nullptr);
    w.hide();
}

TEST_F(TrendWindow, ExportsTheShownDataAndThePicture)
{
    cycle(0, 0);
    w.show();
    for (int i = 0; i < 30; ++i) {
        d.AnaInAllValues[1] = -i;
        w.AddImageAt(50000 + i * 500); // 15 s of images
    }
    w.RedrawTimerTimer();
    const QString csv = t.folder.filePath(u"trend.csv"_qs);
    ASSERT_TRUE(w.ExportCsv(csv));
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u"\r\n"_qs, Qt::SkipEmptyParts);
    // The shown 10 s: 21 images from -10 s to 0 s.
    ASSERT_EQ(lines.size(), 1 + 21);
    EXPECT_EQ(lines[0], u"t/s;AE 1;AE 2;AE 3;AE 4;AE 5;AE 6"_qs);
    EXPECT_TRUE(lines.last().endsWith(u";-29;2;3;-70000;123456"_qs)) << lines.last().toStdString();

    const QString png = t.folder.filePath(u"trend.png"_qs);
    ASSERT_TRUE(w.ExportPng(png));
    const QImage picture(png);
    EXPECT_FALSE(picture.isNull());
    EXPECT_GT(picture.width(), 100);

    // A file that cannot be written is reported.
    EXPECT_FALSE(w.ExportCsv(t.folder.filePath(u"no/such/folder/x.csv"_qs)));
    EXPECT_EQ(t.sink.boxes.size(), 1u);
    w.hide();
}

TEST_F(TrendWindow, LongSpanLanguageAndTheControlWindowButton)
{
    cycle(0, 0);
    w.show();
    for (int s = 0; s < 600; ++s) {
        d.AnaInAllValues[0] = s;
        for (int k = 0; k < 10; ++k)
            w.AddImageAt(s * 1000 + k * 100);
    }
    w.CoBoSpan->setCurrentIndex(6); // 1 h
    EXPECT_EQ(w.spanMs(), 3600 * 1000);
    // Longer than the run: all of it, at most two points a slice.
    const QList<QPointF> line = w.seriesOf(0)->points();
    ASSERT_FALSE(line.isEmpty());
    EXPECT_DOUBLE_EQ(line.first().y(), 0.0);
    EXPECT_DOUBLE_EQ(line.last().y(), 599.0);
    EXPECT_LE(line.size(), 800);

    SelectLanguage(d, 1);
    EXPECT_EQ(w.windowTitle(), u"Trend"_qs);
    EXPECT_EQ(w.BPause->text(), u"Pause"_qs);
    EXPECT_EQ(w.LBChannels->item(0)->text(), u"AI 1"_qs);
    EXPECT_EQ(w.CBAutoScale->text(), u"Automatic scale"_qs);
    EXPECT_EQ(cont.BTrend->text(), u"Trend"_qs);
    w.hide();

    cont.BTrendClick();
    EXPECT_TRUE(w.isVisible());
    w.hide();
}

} // namespace

TEST(TrendRedraw, OnceATimeSliceBetweenFiveAndOneASecond)
{
    const struct {
        qint64 spanMs;
        int intervalMs;
    } cases[] = {
        {10000, 200},   // a slice is 83 ms: five a second at most
        {30000, 250},   // once a slice
        {60000, 500},   //
        {120000, 1000}, // a slice is exactly a second
        {3600000, 1000} // one a second at least
    };
    for (const auto &c : cases)
        EXPECT_EQ(TTrend::redrawIntervalMs(c.spanMs), c.intervalMs) << c.spanMs;
}

TEST_F(TrendWindow, ChoosingASpanSetsTheRedrawRate)
{
    EXPECT_EQ(w.RedrawTimer->interval(), 200); // 10 s
    w.CoBoSpan->setCurrentIndex(2);            // 1 min
    EXPECT_EQ(w.RedrawTimer->interval(), 500);
    w.CoBoSpan->setCurrentIndex(6); // 1 h
    EXPECT_EQ(w.RedrawTimer->interval(), 1000);
}
