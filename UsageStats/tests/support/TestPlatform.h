#pragma once

#include "ManualExecutor.h"
#include "TemporaryDirectory.h"
#include "UsageStats/LifecycleEventHub.h"
#include "UsageStats/LinuxPlatformFacts.h"
#include "UsageStats/PlatformServices.h"
#include "UsageStats/SignalCache.h"
#include "UsageStats/SignalManager.h"
#include "UsageStats/UsageStats.h"
#include "UsageStats/UsageStatsConfiguration.h"
#include "UsageStats/UsageStatsManager.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace UsageStatsTesting {

/// Every log line the client writes, at every level.
class CapturedLog {
public:
    UsageStats::LogHandler handler() {
        return {UsageStats::LogLevel::debug, [state = state_](UsageStats::LogLevel, const std::string& line) {
                    std::lock_guard lock(state->mutex);
                    state->lines.push_back(line);
                }};
    }
    std::size_t count(const std::string& text) const {
        std::lock_guard lock(state_->mutex);
        return static_cast<std::size_t>(
            std::count_if(state_->lines.begin(), state_->lines.end(),
                          [&text](const std::string& line) { return line.find(text) != std::string::npos; }));
    }
    void clear() {
        std::lock_guard lock(state_->mutex);
        state_->lines.clear();
    }

private:
    struct State {
        std::mutex mutex;
        std::vector<std::string> lines;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

/// 2025-01-31 08:15:00 UTC, a Friday.
inline UsageStats::WallTime testStartTime() {
    return UsageStats::WallTime(std::chrono::seconds(1738311300));
}

/// A manual clock and executor, a lifecycle hub and temporary config and cache folders.
struct TestPlatform {
    TemporaryDirectory directory;
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>(testStartTime());
    std::shared_ptr<ManualExecutor> executor = std::make_shared<ManualExecutor>(clock);
    std::shared_ptr<UsageStats::LifecycleEventHub> lifecycle =
        std::make_shared<UsageStats::LifecycleEventHub>();
    CapturedLog log;

    UsageStats::PlatformServices services() const {
        return {clock,
                executor,
                executor,
                lifecycle,
                std::make_shared<UsageStats::LinuxPlatformFacts>(),
                directory.path() / "config",
                directory.path() / "cache",
                executor};
    }

    std::filesystem::path cacheFile() const {
        return directory.path() / "cache" / UsageStats::SignalCache::fileName;
    }

    /// Points at a closed loopback port unless a base URL is given, so no test reaches the network.
    std::shared_ptr<UsageStats::UsageStatsConfiguration>
    makeConfiguration(std::optional<std::string> baseURL = std::nullopt,
                      std::optional<std::string> namespaceName = std::nullopt) {
        auto configuration = std::make_shared<UsageStats::UsageStatsConfiguration>(
            "7C4E19A2-D35B-4F60-8E27-1B9A0C6D5F48", std::nullopt, baseURL.value_or("http://127.0.0.1:9"),
            namespaceName);
        configuration->setPlatformServices(services());
        configuration->setLogHandler(log.handler());
        return configuration;
    }
};

/// Initialises the client on a test platform and stops it afterwards.
class ClientTest : public ::testing::Test {
protected:
    void TearDown() override {
        UsageStats::terminate();
        platform.executor->runUntilIdle();
    }

    std::shared_ptr<UsageStats::UsageStatsManager>
    start(std::shared_ptr<UsageStats::UsageStatsConfiguration> configuration) {
        UsageStats::initialize(std::move(configuration));
        return UsageStats::UsageStatsManager::shared();
    }

    /// The waiting signals of the shared manager of the given type, after running what is due.
    std::vector<UsageStats::SignalPostBody> cachedSignals(const std::string& type) {
        platform.executor->runUntilIdle();
        auto signals = UsageStats::UsageStatsManager::shared()->signalManager()->cache()->waitingSignals();
        std::erase_if(signals,
                      [&type](const UsageStats::SignalPostBody& signal) { return signal.type != type; });
        return signals;
    }

    TestPlatform platform;
};

} // namespace UsageStatsTesting
