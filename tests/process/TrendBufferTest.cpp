#include "process/TrendBuffer.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace
{

TrendBuffer::Analog analog(qint32 first, qint32 second = 0)
{
    TrendBuffer::Analog a{};
    a[0] = first;
    a[1] = second;
    a[35] = -first;
    return a;
}

TrendBuffer::Digital digital(quint8 first)
{
    TrendBuffer::Digital d{};
    d[0] = first;
    d[11] = 0x80;
    return d;
}

constexpr int Dig0 = TrendBuffer::AnalogChannels; // digital input 0

TEST(TrendBuffer, MemoryStaysBoundedHoweverLongItRuns)
{
    TrendBuffer b(100, 10, 1000);
    const size_t bytes = b.memoryBytes();
    // An hour at 250 images a second.
    for (qint64 t = 0; t < 3600 * 1000; t += 4)
        b.add(t, analog(static_cast<qint32>(t / 4)), digital(0));
    EXPECT_EQ(b.fineCount(), 100);
    EXPECT_EQ(b.coarseCount(), 11); // ten closed and the one filling
    EXPECT_EQ(b.memoryBytes(), bytes);
    EXPECT_EQ(b.latestTime(), 3600 * 1000 - 4);
    EXPECT_EQ(b.oldestTime(), 3589 * 1000); // ten closed seconds before the one filling
    // The oldest whole image is the 100th from the end.
    EXPECT_EQ(b.valueAt(0, 3600 * 1000 - 400), (3600 * 1000 - 400) / 4);
    // One before it: only its second's bucket is left, with that second's last value.
    EXPECT_EQ(b.valueAt(0, 3600 * 1000 - 404), (3600 * 1000 - 4) / 4);
    EXPECT_EQ(b.valueAt(0, 3595 * 1000), (3596 * 1000 - 4) / 4);
    b.clear();
    EXPECT_TRUE(b.empty());
    EXPECT_EQ(b.coarseCount(), 0);
    EXPECT_TRUE(b.points(0, 0, 1000, 10).empty());
}

TEST(TrendBuffer, ValueAtTakesTheLastImageAtOrBefore)
{
    TrendBuffer b(4, 10, 100);
    struct Case {
        qint64 at;
        std::optional<qint32> analog0, analog35, bit0, bit95;
    };
    b.add(0, analog(10), digital(0x01));   // bucket 0
    b.add(50, analog(20), digital(0x00));  // bucket 0
    b.add(120, analog(30), digital(0x01)); // bucket 100
    b.add(250, analog(40), digital(0x00)); // bucket 200
    b.add(260, analog(50), digital(0x01)); // pushes the image at 0 out
    const Case cases[] = {
        {-1, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        {0, 20, -20, 0, 1}, // image gone: the bucket's last value
        {50, 20, -20, 0, 1},
        {119, 20, -20, 0, 1},
        {120, 30, -30, 1, 1},
        {255, 40, -40, 0, 1},
        {100000, 50, -50, 1, 1},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(b.valueAt(0, c.at), c.analog0) << c.at;
        EXPECT_EQ(b.valueAt(35, c.at), c.analog35) << c.at;
        EXPECT_EQ(b.valueAt(Dig0, c.at), c.bit0) << c.at;
        EXPECT_EQ(b.valueAt(TrendBuffer::Channels - 1, c.at), c.bit95) << c.at;
    }
    EXPECT_EQ(b.valueAt(TrendBuffer::Channels, 100), std::nullopt);
    EXPECT_EQ(b.valueAt(-1, 100), std::nullopt);
}

TEST(TrendBuffer, PointsKeepEachSlicesExtremesInOrder)
{
    TrendBuffer b(1000, 100, 1000);
    // A spike down then up inside the first slice, flat in the second.
    const qint32 values[] = {5, -100, 7, 300, 6, 1, 1, 1, 1, 1};
    for (int i = 0; i < 10; ++i)
        b.add(i * 10, analog(values[i], i), digital(i % 2));
    const std::vector<TrendPoint> p = b.points(0, 0, 99, 2);
    const std::vector<TrendPoint> expected = {{10, -100}, {30, 300}, {50, 1}};
    EXPECT_EQ(p, expected);
    // Undecimated when there are slices enough.
    EXPECT_EQ(b.points(1, 0, 99, 100).size(), 10u);
    // A digital channel toggling in every slice keeps both levels.
    const std::vector<TrendPoint> bits = b.points(Dig0, 0, 99, 5);
    EXPECT_EQ(bits.size(), 10u);
    // Only what lies in the range.
    const std::vector<TrendPoint> tail = b.points(1, 75, 99, 100);
    EXPECT_EQ(tail, (std::vector<TrendPoint>{{80, 8}, {90, 9}}));
}

TEST(TrendBuffer, LongSpansComeFromTheBuckets)
{
    TrendBuffer b(10, 100, 1000);
    for (qint64 t = 0; t < 5000; t += 100)
        b.add(t, analog(static_cast<qint32>(t)), digital(t == 2300 ? 1 : 0));
    // The whole images cover 4000 .. 4900 only: 0 .. 4999 comes from buckets.
    const std::vector<TrendPoint> p = b.points(0, 0, 4999, 100);
    ASSERT_EQ(p.size(), 10u);
    EXPECT_EQ(p.front(), (TrendPoint{0, 0}));
    EXPECT_EQ(p[1], (TrendPoint{500, 900}));
    EXPECT_EQ(p.back(), (TrendPoint{4500, 4900}));
    // A one-image pulse still shows in its bucket.
    const std::vector<TrendPoint> pulse = b.points(Dig0, 2000, 2999, 100);
    EXPECT_EQ(pulse, (std::vector<TrendPoint>{{2000, 0}, {2500, 1}}));

    const auto rows = b.rows({0, Dig0}, 0, 4999);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[2].timeMs, 2000);
    EXPECT_EQ(rows[2].values, (std::vector<qint32>{2900, 0}));
    // A short span is served whole.
    EXPECT_EQ(b.rows({0}, 4500, 4999).size(), 5u);
}

TEST(TrendCsv, HeaderAndRows)
{
    const std::vector<TrendBuffer::Row> rows = {{1500, {1, -2}}, {1750, {3, 4}}};
    const QString sep = QLocale::system().decimalPoint();
    EXPECT_EQ(TrendCsv({"AI 1", "DI 1"}, rows, 1000),
              "t/s;AI 1;DI 1\r\n0" + sep + "500;1;-2\r\n0" + sep + "750;3;4\r\n");
}

} // namespace
