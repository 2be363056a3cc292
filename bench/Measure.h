// Timed runs of one operation, each in a forked child so that every run
// starts from the same process image and its peak memory is its own.
#pragma once

#include <functional>
#include <vector>

namespace velmora::bench {

struct Sample {
    double ms = 0;
    double cpuMs = 0;  // user and system time: steadier than `ms` on a busy machine
    long peakKb = 0;   // the child's peak resident set
    long result = 0;  // what the timed part returned
};

// Runs `prepare` (untimed), then `timed`, in a child process. Dirty pages are
// written out first, so that no run pays for the one before it.
Sample runOnce(const std::function<void()>& prepare, const std::function<long()>& timed);

double median(std::vector<double> values);

}  // namespace velmora::bench
