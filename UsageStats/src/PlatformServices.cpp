#include "UsageStats/PlatformServices.h"

#include "UsageStats/EventLoopThread.h"
#include "UsageStats/LifecycleEventHub.h"
#include "UsageStats/LinuxPlatformFacts.h"
#include "XdgDirectories.h"

#include <mutex>

namespace UsageStats {
namespace {

template <typename Shared> std::shared_ptr<Shared> sharedInstance(std::weak_ptr<Shared>& slot) {
    auto instance = slot.lock();
    if (!instance) {
        instance = std::make_shared<Shared>();
        slot = instance;
    }
    return instance;
}

} // namespace

PlatformServices PlatformServices::standard() {
    // Shared by every configuration of the process: one main-thread stand-in, one worker, one upload thread.
    static std::mutex mutex;
    static std::weak_ptr<EventLoopThread> sharedMainLoop;
    static std::weak_ptr<EventLoopThread> sharedWorker;
    static std::weak_ptr<EventLoopThread> sharedUploadThread;
    static std::weak_ptr<LifecycleEventHub> sharedLifecycle;

    std::lock_guard lock(mutex);
    return PlatformServices{
        std::make_shared<SystemClock>(), sharedInstance(sharedMainLoop),         sharedInstance(sharedWorker),
        sharedInstance(sharedLifecycle), std::make_shared<LinuxPlatformFacts>(), XdgDirectories::configHome(),
        XdgDirectories::cacheHome(),     sharedInstance(sharedUploadThread)};
}

} // namespace UsageStats
