#include "bench/Measure.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace velmora::bench {
namespace {

// A fork starts with its parent's pages counted: the high-water mark is set
// back to what is resident now, so that the figure is this run's own peak.
void resetPeakMemory() {
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
}

long peakMemoryKb() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

double cpuMs() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

bool readAll(int fd, void* data, size_t size) {
    char* at = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = ::read(fd, at, size);
        if (got <= 0) return false;
        at += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}

}  // namespace

Sample runOnce(const std::function<void()>& prepare, const std::function<long()>& timed) {
    ::sync();
    std::fflush(nullptr);
    int channel[2];
    if (::pipe(channel) != 0) {
        std::perror("pipe");
        std::exit(2);
    }
    const pid_t child = ::fork();
    if (child < 0) {
        std::perror("fork");
        std::exit(2);
    }
    if (child == 0) {
        ::close(channel[0]);
        if (prepare) prepare();
        resetPeakMemory();
        const double cpuStart = cpuMs();
        const auto start = std::chrono::steady_clock::now();
        Sample sample;
        sample.result = timed();
        sample.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        sample.cpuMs = cpuMs() - cpuStart;
        sample.peakKb = peakMemoryKb();
        const bool sent = ::write(channel[1], &sample, sizeof sample) == static_cast<ssize_t>(sizeof sample);
        // No destructor may run here: the parent still owns the folders.
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    Sample sample;
    const bool got = readAll(channel[0], &sample, sizeof sample);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "velmora-bench: a timed run died\n");
        std::exit(2);
    }
    return sample;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

}  // namespace velmora::bench
