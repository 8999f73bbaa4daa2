#include "UsageStats/SessionManager.h"

#include "LocalDate.h"
#include "UsageStats/DefaultsSuite.h"
#include "UsageStats/UsageStats.h"
#include "UsageStats/UsageStatsConfiguration.h"

#include <algorithm>
#include <numeric>

namespace UsageStats {
namespace {

constexpr const char* recentSessionsKey = "recentSessions";
constexpr const char* deletedSessionsCountKey = "deletedSessionsCount";
constexpr const char* firstSessionDateKey = "firstSessionDate";
constexpr const char* distinctDaysUsedKey = "distinctDaysUsed";

} // namespace

std::shared_ptr<SessionManager>
SessionManager::create(std::shared_ptr<UsageStatsConfiguration> configuration) {
    std::shared_ptr<SessionManager> manager(new SessionManager(std::move(configuration)));
    manager->load();
    manager->recordToday();
    manager->observers_.add(LifecycleEvent::didResignActive, manager->weak_from_this(),
                            &SessionManager::handleDidEnterBackgroundNotification);
    manager->observers_.add(LifecycleEvent::willBecomeActive, manager->weak_from_this(),
                            &SessionManager::handleWillEnterForegroundNotification);
    return manager;
}

SessionManager::SessionManager(std::shared_ptr<UsageStatsConfiguration> configuration)
    : configuration_(std::move(configuration))
    , platform_(configuration_->platformServices())
    , suite_(DefaultsSuite::open(*configuration_))
    , observers_(platform_.lifecycle) {}

void SessionManager::persist(std::function<void(DefaultsSuite&)> write) {
    if (!suite_) {
        return;
    }
    // The worker is serial, so writes reach the suite in the order they were made.
    platform_.worker->post([suite = *suite_, write = std::move(write)]() mutable { write(suite); });
}

void SessionManager::load() {
    const auto data = suite_ ? suite_->data(recentSessionsKey) : std::nullopt;
    auto sessions = data ? decodeStoredSessions(*data) : std::nullopt;
    if (!sessions) {
        return;
    }
    const auto oldestKept = platform_.clock->now() - retentionPeriod;
    const auto kept =
        std::stable_partition(sessions->begin(), sessions->end(), [oldestKept](const StoredSession& session) {
            return session.startedAt > oldestKept;
        });
    const auto pruned = static_cast<std::int64_t>(std::distance(kept, sessions->end()));
    sessions->erase(kept, sessions->end());
    {
        std::lock_guard lock(mutex_);
        recentSessions_ = std::move(*sessions);
    }
    persist([pruned](DefaultsSuite& target) {
        target.setInteger(deletedSessionsCountKey,
                          target.integer(deletedSessionsCountKey).value_or(0) + pruned);
    });
}

void SessionManager::recordToday() {
    persist([today = isoFullDateInLocalTimeZone(platform_.clock->now())](DefaultsSuite& target) {
        auto days = target.stringArray(distinctDaysUsedKey).value_or(std::vector<std::string>{});
        if (days.empty() || days.back() != today) {
            days.push_back(today);
            target.setStringArray(distinctDaysUsedKey, days);
        }
    });
}

void SessionManager::startNewSession() {
    std::optional<std::string> firstSessionDate;
    {
        std::lock_guard lock(mutex_);
        stopTimer();
        firstSessionDate = reportFirstSessionIfNew();
        currentSessionStartedAt_ = platform_.clock->now();
        currentSessionDuration_ = 0;
        advanceDuration();
        persistCurrentSession();
        startTimer();
    }
    if (firstSessionDate) {
        internalSignal("UsageStats.Acquisition.newInstallDetected",
                       {{"UsageStats.Acquisition.firstSessionDate", *firstSessionDate}});
    }
}

// A new install is one without a stored first-session day; the day, once written, is never replaced, so a
// long pause in use does not count the same install again.
std::optional<std::string> SessionManager::reportFirstSessionIfNew() {
    if (firstSessionReported_) {
        return std::nullopt;
    }
    firstSessionReported_ = true;
    if (suite_ && suite_->string(firstSessionDateKey)) {
        return std::nullopt;
    }
    const auto today = isoFullDateInLocalTimeZone(platform_.clock->now());
    persist([today](DefaultsSuite& target) {
        if (!target.string(firstSessionDateKey)) {
            target.setString(firstSessionDateKey, today);
        }
    });
    return today;
}

void SessionManager::updateSessionDuration() {
    std::lock_guard lock(mutex_);
    advanceDuration();
    persistCurrentSession();
}

void SessionManager::handleDidEnterBackgroundNotification() {
    std::lock_guard lock(mutex_);
    advanceDuration();
    persistCurrentSession();
    stopTimer();
}

void SessionManager::handleWillEnterForegroundNotification() {
    std::lock_guard lock(mutex_);
    advanceDuration();
    persistCurrentSession();
    startTimer();
}

void SessionManager::stop() {
    {
        std::lock_guard lock(mutex_);
        stopTimer();
    }
    observers_.removeAll();
}

void SessionManager::stopTimer() {
    sessionDurationUpdater_.reset();
    sessionDurationLastUpdatedAt_.reset();
}

void SessionManager::startTimer() {
    std::weak_ptr<SessionManager> weakSelf = weak_from_this();
    sessionDurationUpdater_ = platform_.mainExecutor->scheduleRepeating(updateInterval, [weakSelf] {
        if (auto self = weakSelf.lock()) {
            self->updateSessionDuration();
        }
    });
}

void SessionManager::advanceDuration() {
    const auto now = platform_.clock->monotonicNow();
    if (sessionDurationLastUpdatedAt_) {
        currentSessionDuration_ +=
            std::chrono::duration<double>(now - *sessionDurationLastUpdatedAt_).count();
    }
    sessionDurationLastUpdatedAt_ = now;
}

void SessionManager::persistCurrentSession() {
    if (!currentSessionStartedAt_ || currentSessionDuration_ < 1.0) {
        return;
    }
    const auto seconds = static_cast<std::int64_t>(currentSessionDuration_);
    const auto current =
        std::find_if(recentSessions_.rbegin(), recentSessions_.rend(), [this](const StoredSession& session) {
            return session.startedAt == *currentSessionStartedAt_;
        });
    if (current != recentSessions_.rend()) {
        current->durationInSeconds = seconds;
    } else {
        recentSessions_.push_back({*currentSessionStartedAt_, seconds});
    }
    persist([sessions = recentSessions_](DefaultsSuite& target) {
        target.setData(recentSessionsKey, encodeStoredSessions(sessions));
    });
}

std::int64_t SessionManager::averageSessionSeconds() const {
    std::lock_guard lock(mutex_);
    if (recentSessions_.empty()) {
        return -1;
    }
    if (recentSessions_.size() == 1) {
        return recentSessions_.front().durationInSeconds;
    }
    // The last session is the current one, still growing.
    const auto sum = std::accumulate(
        recentSessions_.begin(), recentSessions_.end() - 1, std::int64_t{0},
        [](std::int64_t total, const StoredSession& session) { return total + session.durationInSeconds; });
    return sum / static_cast<std::int64_t>(recentSessions_.size() - 1);
}

std::optional<std::int64_t> SessionManager::previousSessionSeconds() const {
    std::lock_guard lock(mutex_);
    if (recentSessions_.size() < 2) {
        return std::nullopt;
    }
    return recentSessions_[recentSessions_.size() - 2].durationInSeconds;
}

std::vector<StoredSession> SessionManager::recentSessions() const {
    std::lock_guard lock(mutex_);
    return recentSessions_;
}

Parameters SessionManager::retentionParameters() const {
    const auto now = platform_.clock->now();
    const auto days = suite_ ? suite_->stringArray(distinctDaysUsedKey).value_or(std::vector<std::string>{})
                             : std::vector<std::string>{};
    // The days are local dates, so the cut-off is one too.
    const auto cutOff = isoFullDateInLocalTimeZone(now - lastMonth);
    const auto daysLastMonth =
        std::count_if(days.begin(), days.end(), [&cutOff](const std::string& day) { return day >= cutOff; });
    const auto deleted = suite_ ? suite_->integer(deletedSessionsCountKey).value_or(0) : 0;
    const auto firstSessionDate = suite_ ? suite_->string(firstSessionDateKey) : std::nullopt;
    const auto sessionCount = static_cast<std::int64_t>(recentSessions().size());

    Parameters parameters{
        {"UsageStats.Acquisition.firstSessionDate",
         firstSessionDate.value_or(isoFullDateInLocalTimeZone(now))},
        {"UsageStats.Retention.averageSessionSeconds", std::to_string(averageSessionSeconds())},
        {"UsageStats.Retention.distinctDaysUsed", std::to_string(days.size())},
        {"UsageStats.Retention.distinctDaysUsedLastMonth", std::to_string(daysLastMonth)},
        {"UsageStats.Retention.totalSessionsCount", std::to_string(sessionCount + deleted)},
    };
    if (const auto previous = previousSessionSeconds()) {
        parameters.emplace("UsageStats.Retention.previousSessionSeconds", std::to_string(*previous));
    }
    return parameters;
}

} // namespace UsageStats
