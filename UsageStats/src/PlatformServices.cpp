#include "UsageStats/PlatformServices.h"

#include "UsageStats/EventLoopThread.h"
#include "UsageStats/LifecycleEventHub.h"
#include "UsageStats/LinuxPlatformFacts.h"
#include "XdgDirectories.h"

#include <mutex>

namespace UsageStats {

PlatformServices PlatformServices::standard() {
    // Shared by every configuration of the process: one main-thread stand-in, one worker.
    static std::mutex mutex;
    static std::weak_ptr<EventLoopThread> sharedMainLoop;
    static std::weak_ptr<EventLoopThread> sharedWorker;
    static std::weak_ptr<LifecycleEventHub> sharedLifecycle;

    std::lock_guard lock(mutex);
    auto mainLoop = sharedMainLoop.lock();
    if (!mainLoop) {
        mainLoop = std::make_shared<EventLoopThread>();
        sharedMainLoop = mainLoop;
    }
    auto worker = sharedWorker.lock();
    if (!worker) {
        worker = std::make_shared<EventLoopThread>();
        sharedWorker = worker;
    }
    auto lifecycle = sharedLifecycle.lock();
    if (!lifecycle) {
        lifecycle = std::make_shared<LifecycleEventHub>();
        sharedLifecycle = lifecycle;
    }
    return PlatformServices{std::make_shared<SystemClock>(),
                            mainLoop,
                            worker,
                            lifecycle,
                            std::make_shared<LinuxPlatformFacts>(),
                            XdgDirectories::configHome(),
                            XdgDirectories::cacheHome()};
}

} // namespace UsageStats
