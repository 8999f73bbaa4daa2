#include "support/TestPlatform.h"

#include <fstream>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace UsageStats;
using UsageStatsTesting::ClientTest;

namespace {

SignalPostBody numbered(int number) {
    return {UsageStatsTesting::testStartTime(), "APP", "user", "SESSION", "signal",
            static_cast<double>(number),        {},    "false"};
}

std::size_t signalsInFile(const std::filesystem::path& file) {
    return SignalCache(file, std::nullopt).count();
}

/// Waits for the child for at most ten seconds; returns its wait status, or -1 when it did not end.
int waitForChild(pid_t child) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child) {
            return status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return -1;
}

} // namespace

TEST_F(ClientTest, TheCacheFileSurvivesAProcessKilledBeforeQuit) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        start(platform.makeConfiguration());
        for (int index = 0; index < 5; ++index) {
            signal("survivor");
        }
        platform.executor->runUntilIdle();
        ::kill(::getpid(), SIGKILL);
    }
    const int status = waitForChild(child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(signalsInFile(platform.cacheFile()), 5u);

    start(platform.makeConfiguration());
    EXPECT_EQ(cachedSignals("survivor").size(), 5u);
    EXPECT_EQ(platform.log.count("Loaded 5 signals"), 1u);
}

TEST(SignalCache, KeepsBatchesInFlightInTheFileUntilSettled) {
    UsageStatsTesting::TemporaryDirectory directory;
    const auto file = directory.path() / "missing" / "folder" / SignalCache::fileName;
    SignalCache cache(file, std::nullopt);
    for (int number = 0; number < 3; ++number) {
        cache.add(numbered(number));
    }
    const auto batch = cache.popBatch();
    ASSERT_EQ(batch.signals.size(), 3u);
    ASSERT_TRUE(cache.save());
    EXPECT_EQ(signalsInFile(file), 3u);

    cache.add(numbered(3));
    cache.returnBatchToEnd(batch.id);
    EXPECT_EQ(cache.waitingSignals().front(), numbered(3));
    const auto second = cache.popBatch(2);
    cache.completeBatch(second.id);
    ASSERT_TRUE(cache.save());
    EXPECT_EQ(signalsInFile(file), 2u);
}

TEST(SignalCache, StartsEmptyFromADamagedFileAndReplacesIt) {
    UsageStatsTesting::TemporaryDirectory directory;
    const auto file = directory.path() / SignalCache::fileName;
    std::ofstream(file) << "[{\"receivedAt\": 760004100, \"appID\": ";
    UsageStatsTesting::CapturedLog log;
    SignalCache cache(file, log.handler());
    EXPECT_EQ(cache.count(), 0u);
    EXPECT_EQ(log.count("Could not read UsageStats cache"), 1u);
    EXPECT_TRUE(std::filesystem::exists(file));

    cache.add(numbered(1));
    ASSERT_TRUE(cache.save());
    EXPECT_EQ(signalsInFile(file), 1u);
}

TEST(SignalCache, DropsTheOldestBeyondItsCapacity) {
    UsageStatsTesting::CapturedLog log;
    SignalCache cache({}, log.handler(), 5);
    for (int number = 0; number < 7; ++number) {
        cache.add(numbered(number));
    }
    EXPECT_EQ(cache.count(), 5u);
    EXPECT_EQ(cache.waitingSignals().front(), numbered(2));
    EXPECT_EQ(log.count("UsageStats cache is full: dropped the 1 oldest signals"), 2u);
    EXPECT_EQ(log.count("Loading"), 0u);
}
