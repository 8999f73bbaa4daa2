#include "UsageStats/DefaultsSuite.h"
#include "UsageStats/SessionManager.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace UsageStats;
using namespace std::chrono_literals;

namespace {

constexpr auto day = std::chrono::hours(24);

class SessionTest : public UsageStatsTesting::ClientTest {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }

    DefaultsSuite suite() { return *DefaultsSuite::open(*platform.makeConfiguration()); }

    void storeSessions(const std::vector<StoredSession>& sessions) {
        suite().setData("recentSessions", encodeStoredSessions(sessions));
    }

    std::shared_ptr<SessionManager> startSessions() {
        auto manager = start(platform.makeConfiguration());
        platform.executor->runUntilIdle();
        return manager->sessionManager();
    }

    Parameters retention() {
        auto parameters = UsageStatsManager::shared()->sessionManager()->retentionParameters();
        platform.executor->runUntilIdle();
        return parameters;
    }
};

} // namespace

TEST_F(SessionTest, CountsOnlyActiveTimeAndStoresNothingUnderOneSecond) {
    auto sessions = startSessions();
    platform.executor->advance(500ms); // the first session begins
    platform.executor->advance(600ms);
    platform.lifecycle->publish(LifecycleEvent::didResignActive);
    EXPECT_TRUE(sessions->recentSessions().empty());

    platform.executor->advance(10min);
    platform.lifecycle->publish(LifecycleEvent::willBecomeActive);
    platform.executor->advance(600ms);
    platform.lifecycle->publish(LifecycleEvent::didResignActive);
    platform.executor->runUntilIdle();
    ASSERT_EQ(sessions->recentSessions().size(), 1u);
    EXPECT_EQ(sessions->recentSessions()[0].durationInSeconds, 1);

    const auto stored = nlohmann::json::parse(*suite().data("recentSessions"));
    EXPECT_EQ(stored, nlohmann::json::parse(R"([{"st": 1738311300, "dn": 1}])"));
}

TEST_F(SessionTest, TheTimerAdvancesTheCurrentSession) {
    auto sessions = startSessions();
    platform.executor->advance(500ms + 20s);
    platform.clock->setWallTime(UsageStatsTesting::testStartTime() +
                                day); // a clock change counts for nothing
    platform.executor->advance(22s);
    ASSERT_EQ(sessions->recentSessions().size(), 1u);
    EXPECT_EQ(sessions->recentSessions()[0].durationInSeconds, 42);
    auto parameters = retention();
    EXPECT_EQ(parameters["UsageStats.Retention.averageSessionSeconds"], "42");
    EXPECT_EQ(parameters.count("UsageStats.Retention.previousSessionSeconds"), 0u);
}

TEST_F(SessionTest, RetentionFiguresComeFromTheLastNinetyDays) {
    const auto now = UsageStatsTesting::testStartTime();
    storeSessions({{now - 90 * day, 5}, {now - 90 * day + 1s, 10}, {now - 2 * day, 20}, {now - day, 30}});
    suite().setInteger("deletedSessionsCount", 2);
    suite().setString("firstSessionDate", "2024-12-01");
    suite().setStringArray("distinctDaysUsed", {"2024-12-01", "2025-01-01", "2025-01-30"});

    auto sessions = startSessions();
    EXPECT_EQ(sessions->recentSessions().size(), 3u);
    EXPECT_EQ(suite().integer("deletedSessionsCount"), 3);
    auto parameters = retention();
    EXPECT_EQ(parameters["UsageStats.Acquisition.firstSessionDate"], "2024-12-01");
    EXPECT_EQ(parameters["UsageStats.Retention.averageSessionSeconds"], "15");
    EXPECT_EQ(parameters["UsageStats.Retention.previousSessionSeconds"], "20");
    EXPECT_EQ(parameters["UsageStats.Retention.totalSessionsCount"], "6");
    EXPECT_EQ(parameters["UsageStats.Retention.distinctDaysUsed"], "4");
    EXPECT_EQ(parameters["UsageStats.Retention.distinctDaysUsedLastMonth"], "3");
}

TEST_F(SessionTest, WithoutSessionsTheAverageIsMinusOne) {
    startSessions();
    auto parameters = retention();
    EXPECT_EQ(parameters["UsageStats.Retention.averageSessionSeconds"], "-1");
    EXPECT_EQ(parameters["UsageStats.Retention.totalSessionsCount"], "0");
    EXPECT_EQ(parameters["UsageStats.Acquisition.firstSessionDate"], "2025-01-31");
}

TEST_F(SessionTest, LastMonthIsCountedInTheLocalTimeZone) {
    ::setenv("TZ", "XYZ-14", 1); // UTC+14: local dates run a day ahead of UTC at noon UTC
    ::tzset();
    platform.clock->setWallTime(
        UsageStats::WallTime(std::chrono::seconds(1738324800))); // 2025-01-31 12:00 UTC
    suite().setStringArray("distinctDaysUsed", {"2025-01-01", "2025-01-02"});
    startSessions();
    auto parameters = retention();
    EXPECT_EQ(parameters["UsageStats.Retention.distinctDaysUsed"], "3"); // with today, 2025-02-01
    EXPECT_EQ(parameters["UsageStats.Retention.distinctDaysUsedLastMonth"], "2");
}

TEST_F(SessionTest, EachDayOfUseIsRecordedOnce) {
    startSessions();
    terminate();
    startSessions();
    terminate();
    platform.clock->advance(day);
    startSessions();
    EXPECT_EQ(suite().stringArray("distinctDaysUsed"),
              (std::vector<std::string>{"2025-01-31", "2025-02-01"}));
}

TEST_F(SessionTest, ALongPauseIsNotANewInstall) {
    const auto now = UsageStatsTesting::testStartTime();
    storeSessions({{now - 100 * day, 60}});
    suite().setString("firstSessionDate", "2024-06-01");
    auto sessions = startSessions();
    EXPECT_TRUE(sessions->recentSessions().empty());
    platform.executor->advance(2s);
    EXPECT_TRUE(cachedSignals("UsageStats.Acquisition.newInstallDetected").empty());
    EXPECT_EQ(cachedSignals("UsageStats.Session.started").size(), 1u);
    EXPECT_EQ(suite().string("firstSessionDate"), "2024-06-01");
}
