#include "monitor/TrafficStatistics.h"

#include <QLocale>
#include <algorithm>

quint64 FunctionTraffic::exceptionTotal() const
{
    quint64 sum = 0;
    for (const auto &[code, count] : exceptions)
        sum += count;
    return sum;
}

void TrafficStatistics::requestSent(int function)
{
    ++entry(function).counts.requests;
}

void TrafficStatistics::replyReceived(int function, int exceptionCode, qint64 roundTripUs)
{
    Entry &e = entry(function);
    ++e.counts.replies;
    if (exceptionCode >= 0)
        ++e.counts.exceptions[exceptionCode];
    if (roundTripUs < 0)
        return;
    e.minimum = e.timed == 0 ? roundTripUs : std::min(e.minimum, roundTripUs);
    e.maximum = e.timed == 0 ? roundTripUs : std::max(e.maximum, roundTripUs);
    ++e.timed;
    if (e.recent.size() < static_cast<size_t>(RoundTripWindow)) {
        e.recent.push_back(roundTripUs);
    } else {
        e.recent[e.next] = roundTripUs;
        e.next = (e.next + 1) % e.recent.size();
    }
}

void TrafficStatistics::givenUp(int function)
{
    ++entry(function).counts.givenUp;
}

void TrafficStatistics::rejected(int function)
{
    ++entry(function).counts.rejected;
}

void TrafficStatistics::reset()
{
    entries_.clear();
}

std::vector<int> TrafficStatistics::functions() const
{
    std::vector<int> codes;
    for (const auto &[function, e] : entries_)
        codes.push_back(function);
    return codes;
}

FunctionTraffic TrafficStatistics::of(int function) const
{
    const auto it = entries_.find(function);
    return it == entries_.end() ? FunctionTraffic{} : it->second.counts;
}

FunctionTraffic TrafficStatistics::total() const
{
    FunctionTraffic sum;
    for (const auto &[function, e] : entries_) {
        sum.requests += e.counts.requests;
        sum.replies += e.counts.replies;
        sum.givenUp += e.counts.givenUp;
        sum.rejected += e.counts.rejected;
        for (const auto &[code, count] : e.counts.exceptions)
            sum.exceptions[code] += count;
    }
    return sum;
}

RoundTripSummary TrafficStatistics::summarise(std::vector<qint64> samples, qint64 count, qint64 minimum, qint64 maximum)
{
    RoundTripSummary s;
    if (samples.empty())
        return s;
    std::sort(samples.begin(), samples.end());
    // Nearest rank: the smallest sample with at least p of all at or below it.
    auto rank = [&](int percent) {
        const size_t n = samples.size();
        const size_t k = (n * static_cast<size_t>(percent) + 99) / 100;
        return samples[std::max<size_t>(k, 1) - 1];
    };
    s.count = count;
    s.minimum = minimum;
    s.median = rank(50);
    s.p99 = rank(99);
    s.maximum = maximum;
    return s;
}

RoundTripSummary TrafficStatistics::roundTrip(int function) const
{
    const auto it = entries_.find(function);
    if (it == entries_.end())
        return {};
    const Entry &e = it->second;
    return summarise(e.recent, e.timed, e.minimum, e.maximum);
}

RoundTripSummary TrafficStatistics::roundTripTotal() const
{
    std::vector<qint64> samples;
    qint64 count = 0;
    qint64 minimum = 0;
    qint64 maximum = 0;
    for (const auto &[function, e] : entries_) {
        if (e.timed == 0)
            continue;
        minimum = count == 0 ? e.minimum : std::min(minimum, e.minimum);
        maximum = count == 0 ? e.maximum : std::max(maximum, e.maximum);
        count += e.timed;
        samples.insert(samples.end(), e.recent.begin(), e.recent.end());
    }
    return summarise(std::move(samples), count, minimum, maximum);
}

namespace
{

QString milliseconds(qint64 us, qint64 count)
{
    if (count == 0)
        return QStringLiteral("-");
    return QLocale::system().toString(static_cast<double>(us) / 1000.0, 'f', 2);
}

QStringList row(const QString &label, const FunctionTraffic &t, const RoundTripSummary &r)
{
    QStringList codes;
    for (const auto &[code, count] : t.exceptions)
        codes << QStringLiteral("%1:%2").arg(code).arg(count);
    return {label,
            QString::number(t.requests),
            QString::number(t.replies),
            codes.isEmpty() ? QStringLiteral("0") : codes.join(QLatin1Char(' ')),
            QString::number(t.givenUp),
            QString::number(t.rejected),
            milliseconds(r.minimum, r.count),
            milliseconds(r.median, r.count),
            milliseconds(r.p99, r.count),
            milliseconds(r.maximum, r.count)};
}

} // namespace

std::vector<QStringList> TrafficRows(const TrafficStatistics &statistics, const QString &totalLabel)
{
    std::vector<QStringList> rows;
    for (int function : statistics.functions())
        rows.push_back(row(QString::number(function), statistics.of(function), statistics.roundTrip(function)));
    rows.push_back(row(totalLabel, statistics.total(), statistics.roundTripTotal()));
    return rows;
}

QString TrafficText(const QStringList &header, const std::vector<QStringList> &rows)
{
    QStringList lines{header.join(QLatin1Char('\t'))};
    for (const QStringList &r : rows)
        lines << r.join(QLatin1Char('\t'));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void TrafficRecorder::sent(const ModbusBuffer &tx, int length)
{
    // A frame too short to hold a function code is counted nowhere.
    function_ = length > ModbusHeaderSize + 1 ? (tx[ModbusHeaderSize + 1] & 0x7F) : -1;
    awaiting_ = function_ >= 0;
    if (awaiting_) {
        statistics.requestSent(function_);
        sentAt_.start();
    }
}

void TrafficRecorder::answered(const ModbusBuffer &rx, int rxCount)
{
    if (!awaiting_ || rxCount <= ModbusHeaderSize + 1)
        return;
    awaiting_ = false;
    const quint8 function = rx[ModbusHeaderSize + 1];
    const int exceptionCode = (function & 0x80) && rxCount > ModbusHeaderSize + 2 ? rx[ModbusHeaderSize + 2] : -1;
    statistics.replyReceived(function_, exceptionCode, sentAt_.nsecsElapsed() / 1000);
}

void TrafficRecorder::rejected()
{
    // Charged to the request last sent: the frame came while it was out, or
    // is a late answer to it.
    statistics.rejected(std::max(function_, 0));
}

void TrafficRecorder::gaveUp()
{
    if (!awaiting_)
        return;
    awaiting_ = false;
    statistics.givenUp(function_);
}
