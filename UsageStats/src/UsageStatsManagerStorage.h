#pragma once

#include "UsageStats/Parameters.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace UsageStats {

class SignalCache;
class UsageStatsConfiguration;
class UsageStatsManager;

/// A signal sent before the client was initialised, waiting for its manager.
struct PendingSignal {
    bool throughPublicPath = true;
    std::string signalType;
    Parameters parameters;
    std::optional<double> floatValue;
    std::optional<std::string> customUserID;
};

/// Holds the one shared manager, the signals that arrive before it exists, and the stopped manager whose
/// cache the next one takes over. Safe to use from any thread.
class UsageStatsManagerStorage {
public:
    static constexpr std::size_t maximumPendingSignals = 500;

    static UsageStatsManagerStorage& instance();

    std::shared_ptr<UsageStatsManager> manager();

    /// The manager, or nothing after keeping the signal for the manager to come. Deciding both under one
    /// lock means no signal is kept after `install` has taken the waiting ones.
    std::shared_ptr<UsageStatsManager> managerOrKeep(PendingSignal signal);

    struct Installation {
        std::shared_ptr<UsageStatsManager> manager;
        std::vector<PendingSignal> pendingSignals;
        std::size_t droppedSignals = 0;
    };
    /// Stops the current manager, builds the new one (taking the cache over) and hands back the signals
    /// kept so far.
    Installation install(std::shared_ptr<UsageStatsConfiguration> configuration);

    /// Stops and forgets the current manager; its cache waits for the next `install`.
    void clear();

private:
    std::mutex mutex_;
    std::shared_ptr<UsageStatsManager> manager_;
    std::shared_ptr<UsageStatsManager> retiredManager_;
    std::shared_ptr<SignalCache> retiredCache_;
    std::deque<PendingSignal> pendingSignals_;
    std::size_t droppedSignals_ = 0;
};

} // namespace UsageStats
