#pragma once

#include "UsageStats/Clock.h"

#include <mutex>

namespace UsageStatsTesting {

/// A clock that moves only when told to; wall and monotonic time move together unless the wall clock is
/// set on its own.
class ManualClock final : public UsageStats::Clock {
public:
    explicit ManualClock(UsageStats::WallTime start)
        : wallTime_(start) {}

    UsageStats::WallTime now() const override {
        std::lock_guard lock(mutex_);
        return wallTime_;
    }
    UsageStats::MonotonicTime monotonicNow() const override {
        std::lock_guard lock(mutex_);
        return monotonicTime_;
    }
    void advance(std::chrono::nanoseconds duration) {
        std::lock_guard lock(mutex_);
        wallTime_ += std::chrono::duration_cast<UsageStats::WallTime::duration>(duration);
        monotonicTime_ += duration;
    }
    void setWallTime(UsageStats::WallTime time) {
        std::lock_guard lock(mutex_);
        wallTime_ = time;
    }

private:
    mutable std::mutex mutex_;
    UsageStats::WallTime wallTime_;
    UsageStats::MonotonicTime monotonicTime_{std::chrono::hours(1000)};
};

} // namespace UsageStatsTesting
