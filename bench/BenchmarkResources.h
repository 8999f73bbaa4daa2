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

/// A "kB" field of /proc/self/status, in kilobytes; 0 when absent.
inline long statusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field, 0) == 0) {
            return std::stol(line.substr(field.size()));
        }
    }
    return 0;
}

/// The process's resident size now, in whole megabytes.
inline long residentMegabytes() {
    return statusKilobytes("VmRSS:") / 1024;
}

/// The process's resident size now, in kilobytes.
inline long residentKilobytes() {
    return statusKilobytes("VmRSS:");
}

/// The peak resident size since the last resetPeakResident(), in kilobytes.
inline long peakResidentKilobytesSinceReset() {
    return statusKilobytes("VmHWM:");
}

/// Starts the peak resident size (VmHWM) over from the resident size now.
inline void resetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
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
