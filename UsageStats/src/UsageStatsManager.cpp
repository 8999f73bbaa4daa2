#include "UsageStats/UsageStatsManager.h"

#include "RandomUUID.h"
#include "UsageStats/DurationSignalTracker.h"
#include "UsageStats/SessionManager.h"
#include "UsageStats/SignalManager.h"
#include "UsageStats/UsageStats.h"
#include "UsageStats/UsageStatsConfiguration.h"
#include "UsageStats/UsageStatsHashing.h"
#include "UsageStatsManagerStorage.h"

namespace UsageStats {

std::shared_ptr<UsageStatsManager>
UsageStatsManager::create(std::shared_ptr<UsageStatsConfiguration> configuration,
                          std::shared_ptr<SignalCache> handedOverCache) {
    std::shared_ptr<UsageStatsManager> manager(new UsageStatsManager(std::move(configuration)));
    const auto& platform = manager->platform_;
    manager->sessionManager_ = SessionManager::create(manager->configuration_);
    manager->signalManager_ =
        SignalManager::create(manager->configuration_, manager->sessionManager_, std::move(handedOverCache));
    manager->durationTracker_ = DurationSignalTracker::create(platform.clock, platform.lifecycle);

    std::weak_ptr<UsageStatsManager> weakManager = manager;
    platform.mainExecutor->postAfter(firstSessionDelay, [weakManager] {
        const auto self = weakManager.lock();
        if (!self) {
            return;
        }
        {
            std::lock_guard lock(self->mutex_);
            if (self->stopped_) {
                return;
            }
        }
        self->configuration_->setSessionID(makeRandomUUID());
    });
    return manager;
}

UsageStatsManager::UsageStatsManager(std::shared_ptr<UsageStatsConfiguration> configuration)
    : configuration_(std::move(configuration))
    , platform_(configuration_->platformServices()) {}

UsageStatsManager::~UsageStatsManager() {
    stop();
}

std::shared_ptr<UsageStatsManager> UsageStatsManager::shared() {
    return UsageStatsManagerStorage::instance().manager();
}

std::string UsageStatsManager::hashedDefaultUser() const {
    return UsageStatsHashing::sha256(signalManager_->defaultUserIdentifier(), configuration_->salt());
}

void UsageStatsManager::requestImmediateSync() {
    {
        std::lock_guard lock(mutex_);
        const auto now = platform_.clock->monotonicNow();
        if (lastTimeImmediateSyncRequested_ &&
            now - *lastTimeImmediateSyncRequested_ <= immediateSyncInterval) {
            return;
        }
        lastTimeImmediateSyncRequested_ = now;
    }
    std::weak_ptr<SignalManager> weakSignalManager = signalManager_;
    platform_.mainExecutor->postAfter(std::chrono::milliseconds{50}, [weakSignalManager] {
        if (auto signalManager = weakSignalManager.lock()) {
            signalManager->attemptToSendNextBatchOfCachedSignals();
        }
    });
}

void UsageStatsManager::didEnterBackground() {
    std::lock_guard lock(mutex_);
    lastDateAppEnteredBackground_ = platform_.clock->monotonicNow();
}

void UsageStatsManager::willEnterForeground() {
    bool beginsNewSession = false;
    {
        std::lock_guard lock(mutex_);
        beginsNewSession =
            lastDateAppEnteredBackground_ &&
            *lastDateAppEnteredBackground_ + newSessionAfterBackground < platform_.clock->monotonicNow();
    }
    if (beginsNewSession) {
        UsageStats::generateNewSession();
    }
}

std::shared_ptr<SignalCache> UsageStatsManager::stop() {
    {
        std::lock_guard lock(mutex_);
        if (stopped_ || !signalManager_) {
            return signalManager_ ? signalManager_->cache() : nullptr;
        }
        stopped_ = true;
    }
    sessionManager_->stop();
    durationTracker_->stop();
    return signalManager_->stop();
}

void UsageStatsManager::initialize(std::shared_ptr<UsageStatsConfiguration> configuration) {
    UsageStats::initialize(std::move(configuration));
}

bool UsageStatsManager::isInitialized() {
    return shared() != nullptr;
}

void UsageStatsManager::terminate() {
    UsageStats::terminate();
}

void UsageStatsManager::send(const std::string& signalType, const Parameters& parameters) {
    UsageStats::signal(signalType, parameters);
}

void UsageStatsManager::send(const std::string& signalType, std::optional<std::string> customUserID,
                             std::optional<double> floatValue, const Parameters& parameters) {
    UsageStats::signal(signalType, parameters, floatValue, std::move(customUserID));
}

void UsageStatsManager::updateDefaultUser(std::optional<std::string> user) {
    UsageStats::updateDefaultUserID(std::move(user));
}

void UsageStatsManager::generateNewSession() {
    UsageStats::generateNewSession();
}

} // namespace UsageStats
