#include "PeriodRecorder.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

namespace
{

// Nearest rank.
double PercentileUs(std::vector<double> values, double p)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const size_t rank = static_cast<size_t>(std::ceil(p * double(values.size())));
    return values[std::max<size_t>(rank, 1) - 1] / 1000.0;
}

} // namespace

qint64 NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

qint64 ProcessCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

void CycleChecks::add(const CycleChecks &o)
{
    answered += o.answered;
    late += o.late;
    givenUp += o.givenUp;
    lost += o.lost;
    wrong += o.wrong;
}

void CycleSample::add(const CycleSample &o)
{
    cycles += o.cycles;
    elapsedNs += o.elapsedNs;
    cpuNs += o.cpuNs;
    periodsNs.insert(periodsNs.end(), o.periodsNs.begin(), o.periodsNs.end());
    replyNs.insert(replyNs.end(), o.replyNs.begin(), o.replyNs.end());
    maxReplyNs = std::max(maxReplyNs, o.maxReplyNs);
}

CycleSummary Summarize(const CycleSample &s, double nominalUs)
{
    CycleSummary r;
    if (s.cycles <= 0 || s.elapsedNs <= 0)
        return r;
    r.meanUs = double(s.elapsedNs) / 1000.0 / s.cycles;
    r.ratio = nominalUs / r.meanUs;
    r.cpuPerCycleUs = double(s.cpuNs) / 1000.0 / s.cycles;
    if (!s.periodsNs.empty()) {
        std::vector<double> deviations;
        deviations.reserve(s.periodsNs.size());
        for (const qint64 period : s.periodsNs)
            deviations.push_back(std::abs(double(period) - nominalUs * 1000.0));
        r.jitterP99Us = PercentileUs(std::move(deviations), 0.99);
    }
    if (!s.replyNs.empty()) {
        std::vector<double> replies(s.replyNs.begin(), s.replyNs.end());
        r.replyMedianUs = PercentileUs(replies, 0.5);
        r.replyP99Us = PercentileUs(std::move(replies), 0.99);
    }
    r.replyMaxUs = double(s.maxReplyNs) / 1000.0;
    return r;
}

void PeriodRecorder::begin(int warmUp, int cycles, bool keep, std::function<void(int)> onRequest)
{
    warmUp_ = warmUp;
    requests_ = 0;
    keep_ = keep;
    awaiting_ = false;
    onRequest_ = std::move(onRequest);
    sample_ = {};
    sample_.cycles = cycles;
    if (keep) {
        sample_.periodsNs.reserve(static_cast<size_t>(cycles));
        sample_.replyNs.reserve(static_cast<size_t>(cycles) + 1);
    }
}

void PeriodRecorder::requestOut()
{
    if (done())
        return;
    const qint64 now = NowNs();
    const int i = requests_++ - warmUp_;
    awaiting_ = i >= 0;
    if (i < 0)
        return;
    if (i == 0) {
        firstNs_ = now;
        cpuStartNs_ = ProcessCpuNs();
    } else if (keep_) {
        sample_.periodsNs.push_back(now - lastNs_);
    }
    lastNs_ = now;
    if (i == sample_.cycles) {
        sample_.elapsedNs = now - firstNs_;
        sample_.cpuNs = ProcessCpuNs() - cpuStartNs_;
    }
    if (onRequest_)
        onRequest_(i);
}

void PeriodRecorder::replyIn()
{
    if (!awaiting_)
        return;
    awaiting_ = false;
    const qint64 ns = NowNs() - lastNs_;
    sample_.maxReplyNs = std::max(sample_.maxReplyNs, ns);
    if (keep_ && sample_.replyNs.size() < sample_.replyNs.capacity())
        sample_.replyNs.push_back(ns);
}
