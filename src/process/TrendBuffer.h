#pragma once
// The inputs over time for the trend: every decoded process image with its
// time, per channel, in bounded memory. The last FineCapacity images are kept
// whole; older ones only as one bucket (minimum, maximum, last) per
// CoarseStepMs, for CoarseCapacity buckets. Nothing grows with the run time.
#include "app/StationTypes.h"

#include <array>
#include <optional>
#include <vector>

struct TrendPoint {
    qint64 timeMs;
    qint32 value;
    bool operator==(const TrendPoint &) const = default;
};

class TrendBuffer
{
public:
    static constexpr int AnalogChannels = MaxAnalogChannels;
    static constexpr int DigitalBytes = 12;
    static constexpr int DigitalChannels = 8 * DigitalBytes;
    // Channels 0..35 analog inputs, 36..131 the digital input bits.
    static constexpr int Channels = AnalogChannels + DigitalChannels;

    using Analog = std::array<qint32, AnalogChannels>;
    using Digital = std::array<quint8, DigitalBytes>;

    explicit TrendBuffer(int fineCapacity = 15000, int coarseCapacity = 3600, qint64 coarseStepMs = 1000);

    // One decoded image at `timeMs` (not earlier than the one before).
    void add(qint64 timeMs, const Analog &analog, const Digital &digital);
    void clear();

    int fineCount() const { return fineCount_; }
    int coarseCount() const; // buckets, the one still filling included
    int fineCapacity() const { return fineCapacity_; }
    int coarseCapacity() const { return coarseCapacity_; }
    bool empty() const { return fineCount_ == 0; }
    qint64 latestTime() const;
    // Oldest time still held in any form.
    qint64 oldestTime() const;
    // Bytes held for the samples: fixed at construction.
    size_t memoryBytes() const;

    // The channel between `from` and `to`, at most 2 * `slices` points: the
    // minimum and maximum of each slice in the order they occurred. Taken
    // from the whole images where they reach back to `from`, from the buckets
    // otherwise.
    std::vector<TrendPoint> points(int channel, qint64 from, qint64 to, int slices) const;
    // The value at `timeMs`: the last image at or before it (or the bucket's
    // last value once the image is gone); nothing before the first one.
    std::optional<qint32> valueAt(int channel, qint64 timeMs) const;

    // Every image (or bucket) between `from` and `to`: its time and the value
    // of each of `channels`.
    struct Row {
        qint64 timeMs;
        std::vector<qint32> values;
    };
    std::vector<Row> rows(const std::vector<int> &channels, qint64 from, qint64 to) const;

private:
    struct Sample {
        qint64 timeMs = 0;
        Analog analog{};
        Digital digital{};
    };
    struct Bucket {
        qint64 timeMs = 0; // start of the bucket
        Analog minimum{}, maximum{}, last{};
        Digital anySet{}, allSet{}, lastDigital{};
    };
    // An analog channel's value or a digital channel's bit (0 or 1).
    static qint32 channelOf(const Analog &analog, const Digital &digital, int channel);
    static qint32 valueOf(const Sample &s, int channel);
    static qint32 minimumOf(const Bucket &b, int channel);
    static qint32 maximumOf(const Bucket &b, int channel);
    static qint32 lastOf(const Bucket &b, int channel);
    const Sample &fine(int i) const; // 0 = oldest held
    const Bucket &coarse(int i) const;
    bool fineCovers(qint64 from) const;
    void closeBucket();

    int fineCapacity_;
    int coarseCapacity_;
    qint64 coarseStepMs_;
    std::vector<Sample> fine_;
    int fineStart_ = 0;
    int fineCount_ = 0;
    std::vector<Bucket> coarse_;
    int coarseStart_ = 0;
    int coarseCount_ = 0;
    Bucket open_;
    bool openUsed_ = false;
};

// The texts of a CSV export: a header line "t/s;<names>" and one line per row.
QString TrendCsv(const QStringList &names, const std::vector<TrendBuffer::Row> &rows, qint64 zeroMs);
