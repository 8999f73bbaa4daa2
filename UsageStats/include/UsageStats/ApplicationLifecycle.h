#pragma once

#include <cstdint>
#include <functional>

namespace UsageStats {

enum class LifecycleEvent { willTerminate, didResignActive, willBecomeActive };

/// The application's lifecycle notifications. The application delivers them on its main thread; observers
/// may be added and removed from any thread, and an observer removed while an event is being delivered
/// may still receive that one event.
class ApplicationLifecycle {
public:
    using Observer = std::function<void()>;
    using ObserverToken = std::uint64_t;

    virtual ~ApplicationLifecycle() = default;
    virtual ObserverToken addObserver(LifecycleEvent event, Observer observer) = 0;
    virtual void removeObserver(ObserverToken token) = 0;
};

} // namespace UsageStats
