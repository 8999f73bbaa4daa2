#pragma once

#include <fstream>
#include <string>
#include <sys/resource.h>

namespace Benchmark {

/// The process's peak resident size so far, in whole megabytes.
inline long peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024; // kilobytes on Linux
}

/// The process's resident size now, in whole megabytes.
inline long residentMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6)) / 1024; // kilobytes
        }
    }
    return 0;
}

/// User plus system CPU time of the whole process so far, all threads together, in seconds.
inline double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace Benchmark
