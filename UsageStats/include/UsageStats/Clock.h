#pragma once

#include <chrono>

namespace UsageStats {

using WallTime = std::chrono::system_clock::time_point;
using MonotonicTime = std::chrono::steady_clock::time_point;

/// The client's source of time. Wall time stamps records and calendar days; the monotonic time measures
/// durations, so a clock change never stretches or shrinks a session or a timed signal.
/// Implementations are safe to call from any thread.
class Clock {
public:
    virtual ~Clock() = default;
    virtual WallTime now() const = 0;
    virtual MonotonicTime monotonicNow() const = 0;
};

class SystemClock final : public Clock {
public:
    WallTime now() const override { return std::chrono::system_clock::now(); }
    MonotonicTime monotonicNow() const override { return std::chrono::steady_clock::now(); }
};

} // namespace UsageStats
