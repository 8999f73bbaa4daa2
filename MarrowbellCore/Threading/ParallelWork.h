#pragma once

#include <algorithm>
#include <cstddef>
#include <exception>
#include <thread>
#include <vector>

namespace MarrowbellCore::ParallelWork {

struct Range {
    std::size_t begin = 0;
    std::size_t end = 0;
};

/// Splits [0, count) into contiguous ranges of at least `minimumPerRange` items, one per hardware thread at
/// most; a small count gives one range.
inline std::vector<Range> split(std::size_t count, std::size_t minimumPerRange) {
    const std::size_t hardware = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t parts =
        std::clamp<std::size_t>(count / std::max<std::size_t>(1, minimumPerRange), 1, hardware);
    std::vector<Range> ranges;
    ranges.reserve(parts);
    for (std::size_t part = 0; part < parts; ++part) {
        ranges.push_back({count * part / parts, count * (part + 1) / parts});
    }
    return ranges;
}

/// Runs `work(index)` for each index below `count`, the first on the calling thread and the others on threads
/// of their own, and returns once all have finished. The first exception thrown by any of them is rethrown.
template <class Work> void forEachIndex(std::size_t count, Work&& work) {
    std::vector<std::exception_ptr> failures(count);
    const auto guarded = [&](std::size_t index) {
        try {
            work(index);
        } catch (...) {
            failures[index] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> threads;
        threads.reserve(count);
        for (std::size_t index = 1; index < count; ++index) {
            threads.emplace_back(guarded, index);
        }
        if (count > 0) {
            guarded(0);
        }
    }
    for (const auto& failure : failures) {
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
}

/// Runs `work(range)` for each range of `split(count, minimumPerRange)` in parallel.
template <class Work> void forEachRange(std::size_t count, std::size_t minimumPerRange, Work&& work) {
    const auto ranges = split(count, minimumPerRange);
    forEachIndex(ranges.size(), [&](std::size_t index) { work(ranges[index]); });
}

} // namespace MarrowbellCore::ParallelWork
