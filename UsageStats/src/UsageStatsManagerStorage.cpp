#include "UsageStatsManagerStorage.h"

#include "UsageStats/SignalCache.h"
#include "UsageStats/UsageStatsManager.h"

#include <utility>

namespace UsageStats {

UsageStatsManagerStorage& UsageStatsManagerStorage::instance() {
    static UsageStatsManagerStorage storage;
    return storage;
}

std::shared_ptr<UsageStatsManager> UsageStatsManagerStorage::manager() {
    std::lock_guard lock(mutex_);
    return manager_;
}

std::shared_ptr<UsageStatsManager> UsageStatsManagerStorage::managerOrKeep(PendingSignal signal) {
    std::lock_guard lock(mutex_);
    if (manager_) {
        return manager_;
    }
    pendingSignals_.push_back(std::move(signal));
    if (pendingSignals_.size() > maximumPendingSignals) {
        pendingSignals_.pop_front();
        ++droppedSignals_;
    }
    return nullptr;
}

UsageStatsManagerStorage::Installation
UsageStatsManagerStorage::install(std::shared_ptr<UsageStatsConfiguration> configuration) {
    std::lock_guard lock(mutex_);
    auto previous = std::move(manager_);
    auto handedOverCache = previous ? previous->stop() : std::move(retiredCache_);
    Installation installation;
    installation.manager = UsageStatsManager::create(std::move(configuration), std::move(handedOverCache));
    manager_ = installation.manager;
    // A stopped manager stays alive until the next change, so that signals it was still processing reach
    // the cache it handed over.
    retiredManager_ = std::move(previous);
    retiredCache_.reset();
    installation.pendingSignals.assign(std::make_move_iterator(pendingSignals_.begin()),
                                       std::make_move_iterator(pendingSignals_.end()));
    pendingSignals_.clear();
    installation.droppedSignals = std::exchange(droppedSignals_, 0);
    return installation;
}

void UsageStatsManagerStorage::clear() {
    std::lock_guard lock(mutex_);
    if (!manager_) {
        return;
    }
    retiredCache_ = manager_->stop();
    retiredManager_ = std::move(manager_);
}

} // namespace UsageStats
