#pragma once

#include "UsageStats/TaskQueue.h"

#include <chrono>
#include <memory>

namespace UsageStats {

/// A running repeating timer. Destroying the handle or calling `cancel` stops it; a tick that already
/// started may still finish.
class RepeatingTimer {
public:
    virtual ~RepeatingTimer() = default;
    virtual void cancel() = 0;
};

/// The thread the client treats as the application's main thread: its timers, its lifecycle handling and
/// the reading of platform state run here. The application supplies one bound to its own event loop;
/// `EventLoopThread` is the stand-alone default. Every member may be called from any thread; tasks never
/// run inline.
class MainThreadExecutor : public TaskQueue {
public:
    /// Runs the task once, no earlier than `delay` from now.
    virtual void postAfter(std::chrono::milliseconds delay, Task task) = 0;

    /// Runs the task every `interval`, the first time one interval from now, until the handle goes.
    virtual std::unique_ptr<RepeatingTimer> scheduleRepeating(std::chrono::milliseconds interval,
                                                              Task task) = 0;
};

} // namespace UsageStats
