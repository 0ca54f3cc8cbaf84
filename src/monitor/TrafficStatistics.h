#pragma once
// Counters of the traffic on the line, per function code: requests, replies,
// exceptions by code, requests given up, frames rejected, round-trip times.
// Plain counting; the recorder below feeds it from the transport.
#include "link/TrafficObserver.h"

#include <QElapsedTimer>
#include <QStringList>
#include <array>
#include <map>
#include <vector>

struct RoundTripSummary {
    qint64 count = 0; // replies timed
    // Microseconds; all 0 while count is 0. Median and 99th percentile by
    // nearest rank over the last RoundTripWindow replies, minimum and maximum
    // over all.
    qint64 minimum = 0;
    qint64 median = 0;
    qint64 p99 = 0;
    qint64 maximum = 0;
};

struct FunctionTraffic {
    quint64 requests = 0;
    quint64 replies = 0;               // every answer, exceptions included
    std::map<int, quint64> exceptions; // exception code -> count
    quint64 givenUp = 0;
    quint64 rejected = 0;
    quint64 exceptionTotal() const;
};

class TrafficStatistics
{
public:
    // Round trips kept per function code for the median and percentile.
    static constexpr int RoundTripWindow = 4096;

    void requestSent(int function);
    // `exceptionCode` < 0: a normal reply.
    void replyReceived(int function, int exceptionCode, qint64 roundTripUs);
    void givenUp(int function);
    void rejected(int function);
    void reset();

    // Function codes seen, ascending.
    std::vector<int> functions() const;
    FunctionTraffic of(int function) const;
    FunctionTraffic total() const;
    RoundTripSummary roundTrip(int function) const;
    // Over every function code.
    RoundTripSummary roundTripTotal() const;

private:
    struct Entry {
        FunctionTraffic counts;
        qint64 minimum = 0;
        qint64 maximum = 0;
        qint64 timed = 0;
        std::vector<qint64> recent; // ring of the last RoundTripWindow round trips
        size_t next = 0;
    };
    Entry &entry(int function) { return entries_[function]; }
    static RoundTripSummary summarise(std::vector<qint64> samples, qint64 count, qint64 minimum, qint64 maximum);

    std::map<int, Entry> entries_;
};

// One row per function code and a total row: the statistics as text cells.
// Columns: function, requests, replies, exceptions ("code:count" each),
// given up, rejected, round trip minimum, median, 99 %, maximum in ms.
std::vector<QStringList> TrafficRows(const TrafficStatistics &statistics, const QString &totalLabel);
// The rows under `header`, tab-separated, one line each: for the clipboard.
QString TrafficText(const QStringList &header, const std::vector<QStringList> &rows);

// Feeds the statistics from the transport: the function of the request that
// is out, and the time from its send to its reply.
class TrafficRecorder : public TrafficObserver
{
public:
    TrafficStatistics statistics;

    void sent(const ModbusBuffer &tx, int length) override;
    void answered(const ModbusBuffer &rx, int rxCount) override;
    void rejected() override;
    void gaveUp() override;

private:
    int function_ = -1; // of the request last sent; -1: none with a function code
    bool awaiting_ = false;
    QElapsedTimer sentAt_;
};
