#pragma once

#include "UsageStats/ApplicationLifecycle.h"
#include "UsageStats/Clock.h"
#include "UsageStats/LifecycleObservers.h"
#include "UsageStats/Parameters.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace UsageStats {

/// The running timings of duration signals, measured on the monotonic clock. Unless a timing includes
/// background time, the time between the application resigning and regaining active state is left out.
/// Safe to call from any thread.
class DurationSignalTracker : public std::enable_shared_from_this<DurationSignalTracker> {
public:
    struct CachedData {
        MonotonicTime startTime;
        Parameters parameters;
        bool includeBackgroundTime = false;
    };

    struct StoppedTiming {
        double elapsedSeconds = 0;
        Parameters parameters;
    };

    /// Builds the tracker and observes the application's resign-active and become-active events.
    static std::shared_ptr<DurationSignalTracker> create(std::shared_ptr<Clock> clock,
                                                         std::shared_ptr<ApplicationLifecycle> lifecycle);
    DurationSignalTracker(const DurationSignalTracker&) = delete;
    DurationSignalTracker& operator=(const DurationSignalTracker&) = delete;

    /// Replaces a running timing of the same name.
    void startTracking(const std::string& signalType, Parameters parameters, bool includeBackgroundTime);
    /// Removes the timing; nothing when none runs under that name.
    std::optional<StoppedTiming> stopTracking(const std::string& signalType);

    void handleDidEnterBackgroundNotification();
    void handleWillEnterForegroundNotification();
    /// Stops observing the application.
    void stop();

private:
    DurationSignalTracker(std::shared_ptr<Clock> clock, std::shared_ptr<ApplicationLifecycle> lifecycle);

    const std::shared_ptr<Clock> clock_;
    LifecycleObservers observers_;

    std::mutex mutex_;
    std::map<std::string, CachedData> startedSignals_;
    std::optional<MonotonicTime> lastEnteredBackground_;
};

/// Starts a named timing on the shared manager's tracker (ignored before the client is initialised).
void startDurationSignal(const std::string& signalType, Parameters parameters = {},
                         bool includeBackgroundTime = false);

/// Stops the timing and sends the signal with "UsageStats.Signal.durationInSeconds" (whole milliseconds);
/// stop parameters beat start parameters, which beat the duration. Nothing is sent when no timing runs.
void stopAndSendDurationSignal(const std::string& signalType, Parameters parameters = {},
                               std::optional<double> floatValue = std::nullopt,
                               std::optional<std::string> customUserID = std::nullopt);

} // namespace UsageStats
