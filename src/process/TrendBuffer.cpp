#include "process/TrendBuffer.h"

#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <limits>

TrendBuffer::TrendBuffer(int fineCapacity, int coarseCapacity, qint64 coarseStepMs)
    : fineCapacity_(std::max(1, fineCapacity)), coarseCapacity_(std::max(1, coarseCapacity)),
      coarseStepMs_(std::max<qint64>(1, coarseStepMs)), fine_(static_cast<size_t>(fineCapacity_)),
      coarse_(static_cast<size_t>(coarseCapacity_))
{
}

void TrendBuffer::add(qint64 timeMs, const Analog &analog, const Digital &digital)
{
    if (fineCount_ > 0)
        timeMs = std::max(timeMs, latestTime());
    // The whole image, the oldest overwritten once the ring is full.
    const int slot = (fineStart_ + fineCount_) % fineCapacity_;
    fine_[static_cast<size_t>(slot)] = Sample{timeMs, analog, digital};
    if (fineCount_ < fineCapacity_)
        ++fineCount_;
    else
        fineStart_ = (fineStart_ + 1) % fineCapacity_;

    // Its bucket.
    const qint64 bucketStart = timeMs - timeMs % coarseStepMs_;
    if (openUsed_ && bucketStart != open_.timeMs)
        closeBucket();
    if (!openUsed_) {
        open_.timeMs = bucketStart;
        open_.minimum = analog;
        open_.maximum = analog;
        open_.anySet = digital;
        open_.allSet = digital;
        openUsed_ = true;
    }
    for (int c = 0; c < AnalogChannels; ++c) {
        const auto i = static_cast<size_t>(c);
        open_.minimum[i] = std::min(open_.minimum[i], analog[i]);
        open_.maximum[i] = std::max(open_.maximum[i], analog[i]);
    }
    for (int b = 0; b < DigitalBytes; ++b) {
        const auto i = static_cast<size_t>(b);
        open_.anySet[i] |= digital[i];
        open_.allSet[i] &= digital[i];
    }
    open_.last = analog;
    open_.lastDigital = digital;
}

void TrendBuffer::closeBucket()
{
    const int slot = (coarseStart_ + coarseCount_) % coarseCapacity_;
    coarse_[static_cast<size_t>(slot)] = open_;
    if (coarseCount_ < coarseCapacity_)
        ++coarseCount_;
    else
        coarseStart_ = (coarseStart_ + 1) % coarseCapacity_;
    openUsed_ = false;
}

void TrendBuffer::clear()
{
    fineStart_ = fineCount_ = 0;
    coarseStart_ = coarseCount_ = 0;
    openUsed_ = false;
}

int TrendBuffer::coarseCount() const
{
    return coarseCount_ + (openUsed_ ? 1 : 0);
}

const TrendBuffer::Sample &TrendBuffer::fine(int i) const
{
    return fine_[static_cast<size_t>((fineStart_ + i) % fineCapacity_)];
}

const TrendBuffer::Bucket &TrendBuffer::coarse(int i) const
{
    if (i == coarseCount_)
        return open_;
    return coarse_[static_cast<size_t>((coarseStart_ + i) % coarseCapacity_)];
}

qint64 TrendBuffer::latestTime() const
{
    return fineCount_ ? fine(fineCount_ - 1).timeMs : 0;
}

qint64 TrendBuffer::oldestTime() const
{
    if (coarseCount() > 0)
        return std::min(coarse(0).timeMs, fineCount_ ? fine(0).timeMs : coarse(0).timeMs);
    return fineCount_ ? fine(0).timeMs : 0;
}

size_t TrendBuffer::memoryBytes() const
{
    return fine_.capacity() * sizeof(Sample) + coarse_.capacity() * sizeof(Bucket) + sizeof(*this);
}

bool TrendBuffer::fineCovers(qint64 from) const
{
    // The whole images reach back far enough, or nothing older was ever dropped.
    return fineCount_ > 0 && (fine(0).timeMs <= from || fineCount_ < fineCapacity_);
}

qint32 TrendBuffer::channelOf(const Analog &analog, const Digital &digital, int channel)
{
    if (channel < AnalogChannels)
        return analog[static_cast<size_t>(channel)];
    const int bit = channel - AnalogChannels;
    return (digital[static_cast<size_t>(bit / 8)] >> (bit % 8)) & 1;
}

qint32 TrendBuffer::valueOf(const Sample &s, int channel)
{
    return channelOf(s.analog, s.digital, channel);
}

qint32 TrendBuffer::minimumOf(const Bucket &b, int channel)
{
    return channelOf(b.minimum, b.allSet, channel);
}

qint32 TrendBuffer::maximumOf(const Bucket &b, int channel)
{
    return channelOf(b.maximum, b.anySet, channel);
}

qint32 TrendBuffer::lastOf(const Bucket &b, int channel)
{
    return channelOf(b.last, b.lastDigital, channel);
}

namespace
{

// Keeps the least and the greatest value of each time slice, in the order
// they came.
class SliceReducer
{
public:
    SliceReducer(qint64 from, qint64 to, int slices, std::vector<TrendPoint> &out)
        : from_(from), width_(std::max<qint64>(1, (to - from + slices) / std::max(1, slices))), out_(out)
    {
    }
    void take(qint64 t, qint32 v)
    {
        const qint64 slice = (t - from_) / width_;
        if (slice != slice_)
            flush();
        if (!used_) {
            slice_ = slice;
            low_ = high_ = TrendPoint{t, v};
            used_ = true;
            return;
        }
        if (v < low_.value)
            low_ = TrendPoint{t, v};
        if (v > high_.value)
            high_ = TrendPoint{t, v};
    }
    void flush()
    {
        if (!used_)
            return;
        if (low_ == high_) {
            out_.push_back(low_);
        } else if (low_.timeMs <= high_.timeMs) {
            out_.push_back(low_);
            out_.push_back(high_);
        } else {
            out_.push_back(high_);
            out_.push_back(low_);
        }
        used_ = false;
    }

private:
    qint64 from_;
    qint64 width_;
    std::vector<TrendPoint> &out_;
    qint64 slice_ = -1;
    bool used_ = false;
    TrendPoint low_{0, 0}, high_{0, 0};
};

} // namespace

std::vector<TrendPoint> TrendBuffer::points(int channel, qint64 from, qint64 to, int slices) const
{
    std::vector<TrendPoint> out;
    if (channel < 0 || channel >= Channels || fineCount_ == 0 || to < from)
        return out;
    SliceReducer reduce(from, to, slices, out);
    if (fineCovers(from)) {
        // From the newest back to `from`, then forward.
        int first = fineCount_;
        while (first > 0 && fine(first - 1).timeMs >= from)
            --first;
        for (int i = first; i < fineCount_ && fine(i).timeMs <= to; ++i)
            reduce.take(fine(i).timeMs, valueOf(fine(i), channel));
    } else {
        const qint64 half = coarseStepMs_ / 2;
        for (int i = 0; i < coarseCount(); ++i) {
            const Bucket &b = coarse(i);
            if (b.timeMs + coarseStepMs_ <= from || b.timeMs > to)
                continue;
            reduce.take(b.timeMs, minimumOf(b, channel));
            reduce.take(b.timeMs + half, maximumOf(b, channel));
        }
    }
    reduce.flush();
    return out;
}

std::optional<qint32> TrendBuffer::valueAt(int channel, qint64 timeMs) const
{
    if (channel < 0 || channel >= Channels || fineCount_ == 0)
        return std::nullopt;
    if (fine(0).timeMs <= timeMs) {
        // Binary search: the images are in time order.
        int lo = 0, hi = fineCount_ - 1;
        while (lo < hi) {
            const int mid = (lo + hi + 1) / 2;
            if (fine(mid).timeMs <= timeMs)
                lo = mid;
            else
                hi = mid - 1;
        }
        return valueOf(fine(lo), channel);
    }
    for (int i = coarseCount() - 1; i >= 0; --i)
        if (coarse(i).timeMs <= timeMs)
            return lastOf(coarse(i), channel);
    return std::nullopt;
}

std::vector<TrendBuffer::Row> TrendBuffer::rows(const std::vector<int> &channels, qint64 from, qint64 to) const
{
    std::vector<Row> out;
    auto pick = [&](auto valueFn) {
        std::vector<qint32> values;
        values.reserve(channels.size());
        for (int c : channels)
            values.push_back(c >= 0 && c < Channels ? valueFn(c) : 0);
        return values;
    };
    if (fineCovers(from)) {
        for (int i = 0; i < fineCount_; ++i) {
            const Sample &s = fine(i);
            if (s.timeMs >= from && s.timeMs <= to)
                out.push_back({s.timeMs, pick([&](int c) { return valueOf(s, c); })});
        }
    } else {
        for (int i = 0; i < coarseCount(); ++i) {
            const Bucket &b = coarse(i);
            if (b.timeMs + coarseStepMs_ > from && b.timeMs <= to)
                out.push_back({b.timeMs, pick([&](int c) { return lastOf(b, c); })});
        }
    }
    return out;
}

QString TrendCsv(const QStringList &names, const std::vector<TrendBuffer::Row> &rows, qint64 zeroMs)
{
    const QLocale locale = QLocale::system();
    QStringList lines;
    lines << (QStringList{QStringLiteral("t/s")} + names).join(QLatin1Char(';'));
    for (const TrendBuffer::Row &r : rows) {
        QStringList cells{locale.toString(static_cast<double>(r.timeMs - zeroMs) / 1000.0, 'f', 3)};
        for (qint32 v : r.values)
            cells << QString::number(v);
        lines << cells.join(QLatin1Char(';'));
    }
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}
