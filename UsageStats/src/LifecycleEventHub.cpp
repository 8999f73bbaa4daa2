#include "UsageStats/LifecycleEventHub.h"

#include <vector>

namespace UsageStats {

ApplicationLifecycle::ObserverToken LifecycleEventHub::addObserver(LifecycleEvent event, Observer observer) {
    std::lock_guard lock(mutex_);
    const auto token = nextToken_++;
    observers_.emplace(token, std::make_pair(event, std::move(observer)));
    return token;
}

void LifecycleEventHub::removeObserver(ObserverToken token) {
    std::lock_guard lock(mutex_);
    observers_.erase(token);
}

void LifecycleEventHub::publish(LifecycleEvent event) {
    std::vector<Observer> matching;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [token, entry] : observers_) {
            if (entry.first == event) {
                matching.push_back(entry.second);
            }
        }
    }
    // Called outside the lock: an observer may add or remove observers.
    for (const auto& observer : matching) {
        observer();
    }
}

} // namespace UsageStats
