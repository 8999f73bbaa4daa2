#pragma once

#include "UsageStats/ApplicationLifecycle.h"
#include "UsageStats/DefaultsSuite.h"
#include "UsageStats/LifecycleObservers.h"
#include "UsageStats/Parameters.h"
#include "UsageStats/PlatformServices.h"
#include "UsageStats/StoredSession.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace UsageStats {

class UsageStatsConfiguration;

/// The session history behind the acquisition and retention figures: the sessions of the last 90 days
/// with their active durations, the count of older ones, the first session's day and the days of use, all
/// kept in the defaults suite (written in order on the worker). Active time is counted on the monotonic
/// clock by a 1-second timer on the main thread while the application is active.
/// Safe to call from any thread.
class SessionManager : public std::enable_shared_from_this<SessionManager> {
public:
    static constexpr std::chrono::seconds retentionPeriod{7'776'000};
    static constexpr std::chrono::seconds lastMonth{2'592'000};
    static constexpr std::chrono::milliseconds updateInterval{1000};

    /// Loads and prunes the stored sessions, records today as a day of use and observes the application's
    /// resign-active and become-active events.
    static std::shared_ptr<SessionManager> create(std::shared_ptr<UsageStatsConfiguration> configuration);
    SessionManager(const SessionManager&) = delete;
    SessionManager& operator=(const SessionManager&) = delete;

    /// Begins a session; the first session of an installation also sends
    /// "UsageStats.Acquisition.newInstallDetected".
    void startNewSession();
    void updateSessionDuration();
    void handleDidEnterBackgroundNotification();
    void handleWillEnterForegroundNotification();
    /// Stops the timer and the observers.
    void stop();

    /// -1 without sessions; the one session's duration with one; otherwise the mean of all but the last.
    std::int64_t averageSessionSeconds() const;
    /// The second-to-last session's duration, with at least two.
    std::optional<std::int64_t> previousSessionSeconds() const;
    std::vector<StoredSession> recentSessions() const;
    /// "UsageStats.Acquisition.firstSessionDate" and the "UsageStats.Retention." figures.
    Parameters retentionParameters() const;

private:
    explicit SessionManager(std::shared_ptr<UsageStatsConfiguration> configuration);

    void load();
    void recordToday();
    void stopTimer();
    void startTimer();
    void advanceDuration();
    void persistCurrentSession();
    std::optional<std::string> reportFirstSessionIfNew();
    void persist(std::function<void(DefaultsSuite&)> write);

    const std::shared_ptr<UsageStatsConfiguration> configuration_;
    const PlatformServices platform_;
    const std::optional<DefaultsSuite> suite_;
    LifecycleObservers observers_;

    mutable std::mutex mutex_;
    std::vector<StoredSession> recentSessions_;
    std::optional<WallTime> currentSessionStartedAt_;
    double currentSessionDuration_ = 0;
    std::unique_ptr<RepeatingTimer> sessionDurationUpdater_;
    std::optional<MonotonicTime> sessionDurationLastUpdatedAt_;
    bool firstSessionReported_ = false;
};

} // namespace UsageStats
