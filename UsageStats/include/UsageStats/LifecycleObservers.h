#pragma once

#include "UsageStats/ApplicationLifecycle.h"

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace UsageStats {

/// The lifecycle observers one object registered, removed together by `removeAll` or by the destructor.
/// Each observer holds its object weakly, so observing never keeps the object alive. Safe to use from any
/// thread.
class LifecycleObservers {
public:
    explicit LifecycleObservers(std::shared_ptr<ApplicationLifecycle> lifecycle)
        : lifecycle_(std::move(lifecycle)) {}
    ~LifecycleObservers() { removeAll(); }
    LifecycleObservers(const LifecycleObservers&) = delete;
    LifecycleObservers& operator=(const LifecycleObservers&) = delete;

    /// Calls `member` of the object on each `event`, for as long as the object lives.
    template <typename Object>
    void add(LifecycleEvent event, std::weak_ptr<Object> object, void (Object::*member)()) {
        const auto token = lifecycle_->addObserver(event, [object = std::move(object), member] {
            if (auto self = object.lock()) {
                ((*self).*member)();
            }
        });
        std::lock_guard lock(mutex_);
        tokens_.push_back(token);
    }

    void removeAll() {
        std::vector<ApplicationLifecycle::ObserverToken> tokens;
        {
            std::lock_guard lock(mutex_);
            std::swap(tokens, tokens_);
        }
        for (const auto token : tokens) {
            lifecycle_->removeObserver(token);
        }
    }

private:
    const std::shared_ptr<ApplicationLifecycle> lifecycle_;
    std::mutex mutex_;
    std::vector<ApplicationLifecycle::ObserverToken> tokens_;
};

} // namespace UsageStats
