#pragma once

#include <chrono>
#include <cstdio>
#include <type_traits>

namespace Benchmark {

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

/// Runs `work`, prints `label` with the seconds it took, and gives back what it returned.
template <class Work> auto measure(const char* label, Work&& work) {
    const auto start = Clock::now();
    if constexpr (std::is_void_v<decltype(work())>) {
        work();
        std::printf("%-44s %9.3f s\n", label, secondsSince(start));
    } else {
        auto result = work();
        std::printf("%-44s %9.3f s\n", label, secondsSince(start));
        return result;
    }
}

} // namespace Benchmark
