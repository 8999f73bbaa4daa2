#pragma once

#include "UsageStats/Clock.h"
#include "UsageStats/Parameters.h"
#include "UsageStats/PlatformServices.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace UsageStats {

class DurationSignalTracker;
class SessionManager;
class SignalCache;
class SignalManager;
class UsageStatsConfiguration;

/// The client's one live instance: the configuration and the parts that act on it. Built by `initialize`;
/// the first session begins 0.5 s after it is built. Safe to call from any thread.
class UsageStatsManager : public std::enable_shared_from_this<UsageStatsManager> {
public:
    static constexpr std::chrono::milliseconds firstSessionDelay{500};
    static constexpr std::chrono::seconds immediateSyncInterval{10};
    static constexpr std::chrono::seconds newSessionAfterBackground{300};

    /// `handedOverCache` is the cache of a stopped manager, adopted when it lives in the same file.
    static std::shared_ptr<UsageStatsManager> create(std::shared_ptr<UsageStatsConfiguration> configuration,
                                                     std::shared_ptr<SignalCache> handedOverCache = nullptr);
    ~UsageStatsManager();
    UsageStatsManager(const UsageStatsManager&) = delete;
    UsageStatsManager& operator=(const UsageStatsManager&) = delete;

    /// The shared manager, or nothing before `initialize` and after `terminate`.
    static std::shared_ptr<UsageStatsManager> shared();

    const std::shared_ptr<UsageStatsConfiguration>& configuration() const { return configuration_; }
    const std::shared_ptr<SignalManager>& signalManager() const { return signalManager_; }
    const std::shared_ptr<SessionManager>& sessionManager() const { return sessionManager_; }
    const std::shared_ptr<DurationSignalTracker>& durationSignalTracker() const { return durationTracker_; }

    /// The hash of the default user identifier with the configuration's salt.
    std::string hashedDefaultUser() const;

    /// Sends the next batch 50 ms from now, unless this was already asked for in the last 10 seconds.
    void requestImmediateSync();

    void didEnterBackground();
    /// Begins a new session when the application was in the background for more than 300 s.
    void willEnterForeground();

    /// Stops every part and returns the signal cache for the next manager.
    std::shared_ptr<SignalCache> stop();

    // Older names of the client's operations.
    static void initialize(std::shared_ptr<UsageStatsConfiguration> configuration);
    static bool isInitialized();
    static void terminate();
    static void send(const std::string& signalType, const Parameters& parameters = {});
    static void send(const std::string& signalType, std::optional<std::string> customUserID,
                     std::optional<double> floatValue, const Parameters& parameters);
    static void updateDefaultUser(std::optional<std::string> user);
    static void generateNewSession();

private:
    explicit UsageStatsManager(std::shared_ptr<UsageStatsConfiguration> configuration);

    const std::shared_ptr<UsageStatsConfiguration> configuration_;
    const PlatformServices platform_;
    std::shared_ptr<SessionManager> sessionManager_;
    std::shared_ptr<SignalManager> signalManager_;
    std::shared_ptr<DurationSignalTracker> durationTracker_;

    std::mutex mutex_;
    std::optional<MonotonicTime> lastTimeImmediateSyncRequested_;
    std::optional<MonotonicTime> lastDateAppEnteredBackground_;
    bool stopped_ = false;
};

} // namespace UsageStats
