#include "UsageStats/EventLoopThread.h"
#include "UsageStats/SignalCache.h"
#include "UsageStats/UsageStats.h"
#include "UsageStats/UsageStatsConfiguration.h"
#include "UsageStats/UsageStatsManager.h"
#include "support/Eventually.h"
#include "support/TemporaryDirectory.h"

#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <vector>

using namespace UsageStats;
using namespace std::chrono_literals;
using UsageStatsTesting::eventually;

namespace {

/// Collects what the loop's tasks report and waits, at most five seconds, for a number of reports.
class Reports {
public:
    void add(int value) {
        std::lock_guard lock(mutex_);
        values_.push_back(value);
        changed_.notify_all();
    }
    std::vector<int> waitFor(std::size_t count) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, 5s, [&] { return values_.size() >= count; });
        return values_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<int> values_;
};

} // namespace

TEST(EventLoopThread, RunsTasksByDueTimeAndStopsCancelledTimers) {
    Reports reports;
    EventLoopThread loop;
    loop.postAfter(60ms, [&] { reports.add(3); });
    loop.post([&] { reports.add(1); });
    loop.postAfter(20ms, [&] { reports.add(2); });
    EXPECT_EQ(reports.waitFor(3), (std::vector<int>{1, 2, 3}));

    auto timer = loop.scheduleRepeating(10ms, [&] { reports.add(4); });
    reports.waitFor(6);
    timer.reset();
    const auto ticks = reports.waitFor(6).size();
    std::this_thread::sleep_for(50ms);
    EXPECT_LE(reports.waitFor(0).size(), ticks + 1); // a tick already under way may still finish
}

TEST(EventLoopThread, TheStandardPlatformCarriesASignalToTheCacheFile) {
    UsageStatsTesting::TemporaryDirectory directory;
    ::setenv("XDG_CONFIG_HOME", (directory.path() / "config").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (directory.path() / "cache").c_str(), 1);
    auto configuration = std::make_shared<UsageStatsConfiguration>("APP", std::nullopt, "http://127.0.0.1:9");
    configuration->setLogHandler(std::nullopt);
    EXPECT_EQ(configuration->platformServices().cacheDirectory, directory.path() / "cache");

    initialize(configuration);
    signal("threaded");
    const auto file = directory.path() / "cache" / SignalCache::fileName;
    EXPECT_TRUE(eventually(
        [&] { return std::filesystem::exists(file) && SignalCache(file, std::nullopt).count() == 1; }));
    EXPECT_TRUE(eventually([&] { return !std::filesystem::is_empty(directory.path() / "config"); }));
    terminate();
}
