#pragma once

#include "UsageStats/ApplicationLifecycle.h"

#include <map>
#include <mutex>
#include <utility>

namespace UsageStats {

/// The default lifecycle source: whoever owns the application's event loop calls `publish`, on the thread
/// it wants the observers to run on (the main thread).
class LifecycleEventHub final : public ApplicationLifecycle {
public:
    ObserverToken addObserver(LifecycleEvent event, Observer observer) override;
    void removeObserver(ObserverToken token) override;

    /// Calls every observer of the event, in the order they were added, on the calling thread.
    void publish(LifecycleEvent event);

private:
    std::mutex mutex_;
    ObserverToken nextToken_ = 1;
    std::map<ObserverToken, std::pair<LifecycleEvent, Observer>> observers_;
};

} // namespace UsageStats
