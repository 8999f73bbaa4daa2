#include "UsageStats/DurationSignalTracker.h"

#include "DecimalText.h"
#include "UsageStats/UsageStats.h"
#include "UsageStats/UsageStatsManager.h"

#include <cmath>

namespace UsageStats {

std::shared_ptr<DurationSignalTracker>
DurationSignalTracker::create(std::shared_ptr<Clock> clock, std::shared_ptr<ApplicationLifecycle> lifecycle) {
    std::shared_ptr<DurationSignalTracker> tracker(
        new DurationSignalTracker(std::move(clock), std::move(lifecycle)));
    tracker->observers_.add(LifecycleEvent::didResignActive, tracker->weak_from_this(),
                            &DurationSignalTracker::handleDidEnterBackgroundNotification);
    tracker->observers_.add(LifecycleEvent::willBecomeActive, tracker->weak_from_this(),
                            &DurationSignalTracker::handleWillEnterForegroundNotification);
    return tracker;
}

DurationSignalTracker::DurationSignalTracker(std::shared_ptr<Clock> clock,
                                             std::shared_ptr<ApplicationLifecycle> lifecycle)
    : clock_(std::move(clock))
    , observers_(std::move(lifecycle)) {}

void DurationSignalTracker::startTracking(const std::string& signalType, Parameters parameters,
                                          bool includeBackgroundTime) {
    std::lock_guard lock(mutex_);
    startedSignals_.insert_or_assign(
        signalType, CachedData{clock_->monotonicNow(), std::move(parameters), includeBackgroundTime});
}

std::optional<DurationSignalTracker::StoppedTiming>
DurationSignalTracker::stopTracking(const std::string& signalType) {
    std::lock_guard lock(mutex_);
    const auto found = startedSignals_.find(signalType);
    if (found == startedSignals_.end()) {
        return std::nullopt;
    }
    StoppedTiming stopped{
        std::chrono::duration<double>(clock_->monotonicNow() - found->second.startTime).count(),
        std::move(found->second.parameters)};
    startedSignals_.erase(found);
    return stopped;
}

void DurationSignalTracker::handleDidEnterBackgroundNotification() {
    std::lock_guard lock(mutex_);
    lastEnteredBackground_ = clock_->monotonicNow();
}

void DurationSignalTracker::handleWillEnterForegroundNotification() {
    std::lock_guard lock(mutex_);
    if (!lastEnteredBackground_) {
        return;
    }
    const auto gap = clock_->monotonicNow() - *lastEnteredBackground_;
    for (auto& [name, timing] : startedSignals_) {
        if (!timing.includeBackgroundTime) {
            timing.startTime += gap;
        }
    }
    lastEnteredBackground_.reset();
}

void DurationSignalTracker::stop() {
    observers_.removeAll();
}

void startDurationSignal(const std::string& signalType, Parameters parameters, bool includeBackgroundTime) {
    if (auto manager = UsageStatsManager::shared()) {
        manager->durationSignalTracker()->startTracking(signalType, std::move(parameters),
                                                        includeBackgroundTime);
    }
}

void stopAndSendDurationSignal(const std::string& signalType, Parameters parameters,
                               std::optional<double> floatValue, std::optional<std::string> customUserID) {
    const auto manager = UsageStatsManager::shared();
    const auto stopped = manager ? manager->durationSignalTracker()->stopTracking(signalType) : std::nullopt;
    if (!stopped) {
        return;
    }
    const double milliseconds = std::floor(stopped->elapsedSeconds * 1000);
    Parameters merged{{"UsageStats.Signal.durationInSeconds", shortestDecimalText(milliseconds / 1000)}};
    mergeOver(merged, stopped->parameters);
    mergeOver(merged, parameters);
    internalSignal(signalType, merged, floatValue, std::move(customUserID));
}

} // namespace UsageStats
