#pragma once
// Time stamps of a cycle's requests as they leave the socket and of the first
// read event after each: periods, reply times and the process CPU time over
// the measured cycles. Shared by the program's cycle and the bare reference.
#include <QtGlobal>

#include <functional>
#include <vector>

struct CycleChecks {
    int answered = 0; // checks that took a whole, right reply
    int late = 0;     // requests whose reply was not in by the first check
    int givenUp = 0;  // no reply within RetryLimit + 1 checks (it may come later)
    int lost = 0;     // requests whose reply never came at all
    int wrong = 0;    // exception, wrong function or byte count, wrong inputs
    void add(const CycleChecks &o);
    // Lost or wrong replies; slow ones are a figure, not a failure.
    bool failed() const { return lost > 0 || wrong > 0 || answered == 0; }
};

struct CycleSample {
    int cycles = 0;
    qint64 elapsedNs = 0;          // from the first to the last measured request
    qint64 cpuNs = 0;              // process CPU time over the same span
    std::vector<qint64> periodsNs; // when kept
    std::vector<qint64> replyNs;   // request out to the first read event, when kept
    qint64 maxReplyNs = 0;
    void add(const CycleSample &o);
};

// Summary of one or more samples against the nominal period.
struct CycleSummary {
    double meanUs = 0;
    double ratio = 0;        // nominal / measured
    double jitterP99Us = -1; // |period - nominal|, 99th percentile; -1: periods not kept
    double cpuPerCycleUs = 0;
    double replyMedianUs = -1;
    double replyP99Us = -1;
    double replyMaxUs = 0;
};
CycleSummary Summarize(const CycleSample &sample, double nominalUs);

class PeriodRecorder
{
public:
    // Requests 0 .. warmUp - 1 are not measured; then `cycles` periods, that is
    // cycles + 1 requests. `onRequest(i)` runs at measured request i; at
    // i = cycles the run is done. Kept vectors are reserved here, before any
    // memory figure is taken.
    void begin(int warmUp, int cycles, bool keep, std::function<void(int)> onRequest);
    void requestOut();
    void replyIn();

    bool done() const { return requests_ > warmUp_ + sample_.cycles; }
    int requests() const { return requests_; }
    const CycleSample &sample() const { return sample_; }

private:
    int warmUp_ = 0;
    int requests_ = 0;
    bool keep_ = false;
    bool awaiting_ = false;
    qint64 firstNs_ = 0;
    qint64 lastNs_ = 0;
    qint64 cpuStartNs_ = 0;
    std::function<void(int)> onRequest_;
    CycleSample sample_;
};

qint64 NowNs();
// Process CPU time in nanoseconds (all threads).
qint64 ProcessCpuNs();
