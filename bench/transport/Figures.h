#pragma once
// Small helpers shared by the figures: latency summaries and resident memory.
#include <QString>
#include <chrono>
#include <vector>

using Clock = std::chrono::steady_clock;

struct Latency {
    double medianUs = 0;
    double p99Us = 0;
};

// Median and 99th percentile (nearest rank) of round trips in nanoseconds.
Latency Summarize(std::vector<qint64> nanoseconds);

// VmRSS of /proc/self/status in KiB, 0 if unreadable.
long ResidentKiB();
