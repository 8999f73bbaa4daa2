#pragma once

#include "UsageStats/ApplicationLifecycle.h"
#include "UsageStats/Clock.h"
#include "UsageStats/MainThreadExecutor.h"
#include "UsageStats/PlatformFacts.h"
#include "UsageStats/TaskQueue.h"

#include <filesystem>
#include <memory>

namespace UsageStats {

/// What the client needs of the platform it runs on. A manager reads these once, when it is built.
struct PlatformServices {
    std::shared_ptr<Clock> clock;
    std::shared_ptr<MainThreadExecutor> mainExecutor;
    /// The one serial worker: record building, taking batches for upload and settling their outcome, and
    /// writes of the defaults suite.
    std::shared_ptr<TaskQueue> worker;
    std::shared_ptr<ApplicationLifecycle> lifecycle;
    std::shared_ptr<PlatformFacts> facts;
    /// Holds the client's defaults suite; empty when it cannot be determined (the suite is then absent).
    std::filesystem::path configDirectory;
    /// Holds the signal cache file; empty when it cannot be determined (the cache then stays in memory).
    std::filesystem::path cacheDirectory;
    /// Runs the blocking HTTP request of each upload, away from the worker, so that signals keep being
    /// recorded while the service answers. When absent, each manager starts a thread of its own for this.
    std::shared_ptr<TaskQueue> uploads = nullptr;

    /// The process-wide defaults: the system clock, an `EventLoopThread` each as main thread, worker and
    /// upload thread, a `LifecycleEventHub`, `LinuxPlatformFacts`, and the XDG config and cache directories
    /// as the environment names them at the time of the call.
    static PlatformServices standard();
};

} // namespace UsageStats
