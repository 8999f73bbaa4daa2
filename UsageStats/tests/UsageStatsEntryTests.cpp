#include "UsageStats/SignalEnricher.h"
#include "UsageStats/UsageStatsHashing.h"
#include "support/TestPlatform.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

using namespace UsageStats;
using UsageStatsTesting::ClientTest;

namespace {

class FixedEnricher final : public SignalEnricher {
public:
    explicit FixedEnricher(Parameters parameters)
        : parameters_(std::move(parameters)) {}
    Parameters additionalParameters(std::string_view, const std::optional<std::string>& customUserID,
                                    std::optional<double>) override {
        seenUsers.push_back(customUserID);
        return parameters_;
    }
    std::vector<std::optional<std::string>> seenUsers;

private:
    Parameters parameters_;
};

const std::string reservedTypePrefixMessage = "Sending signal with reserved prefix 'UsageStats.' will cause "
                                              "unexpected behavior. Please use another prefix "
                                              "instead.";

} // namespace

TEST_F(ClientTest, PreviewModeAndDisabledAnalyticsDropEverySignal) {
    auto configuration = platform.makeConfiguration();
    start(configuration);
    configuration->setSwiftUIPreviewMode(true);
    signal("previewed");
    configuration->setSwiftUIPreviewMode(false);
    configuration->setAnalyticsDisabled(true);
    signal("disabled");
    internalSignal("disabled");
    EXPECT_TRUE(cachedSignals("previewed").empty());
    EXPECT_TRUE(cachedSignals("disabled").empty());

    configuration->setAnalyticsDisabled(false);
    signal("sent");
    EXPECT_EQ(cachedSignals("sent").size(), 1u);
}

TEST_F(ClientTest, PreviewModeFollowsTheEnvironmentUntilSet) {
    auto configuration = platform.makeConfiguration();
    start(configuration);
    ::setenv("XCODE_RUNNING_FOR_PREVIEWS", "1", 1);
    EXPECT_TRUE(configuration->swiftUIPreviewMode());
    signal("previewed");
    EXPECT_TRUE(cachedSignals("previewed").empty());
    ::setenv("XCODE_RUNNING_FOR_PREVIEWS", "true", 1);
    EXPECT_FALSE(configuration->swiftUIPreviewMode());
    ::setenv("XCODE_RUNNING_FOR_PREVIEWS", "1", 1);
    configuration->setSwiftUIPreviewMode(false);
    signal("sent");
    ::unsetenv("XCODE_RUNNING_FOR_PREVIEWS");
    EXPECT_EQ(cachedSignals("sent").size(), 1u);
}

TEST_F(ClientTest, PrefixesApplyToPublicSignalsOnly) {
    auto configuration = platform.makeConfiguration();
    start(configuration);
    configuration->setDefaultSignalPrefix("App.");
    configuration->setDefaultParameterPrefix("my.");
    signal("change_font_weight", {{"type", "bold"}});
    internalSignal("UsageStats.Session.started");
    const auto sent = cachedSignals("App.change_font_weight");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].payload.at("my.type"), "bold");
    EXPECT_EQ(cachedSignals("UsageStats.Session.started").size(), 1u);
    EXPECT_EQ(platform.log.count("reserved"), 0u);
}

TEST_F(ClientTest, ReservedNamesAreReportedButSent) {
    auto configuration = platform.makeConfiguration();
    start(configuration);
    signal("usagestats.custom");
    EXPECT_EQ(platform.log.count(reservedTypePrefixMessage), 1u);
    signal("Type", {{"Platform", "x"}});
    EXPECT_EQ(
        platform.log.count("Sending signal with reserved name 'Type' will cause unexpected behavior. Please "
                           "use another name instead."),
        1u);
    EXPECT_EQ(
        platform.log.count("Sending parameter with reserved key 'Platform' will cause unexpected behavior. "
                           "Please use another key instead."),
        1u);
    EXPECT_EQ(cachedSignals("Type").size(), 1u);

    platform.log.clear();
    configuration->setReservedParameterWarningsEnabled(false);
    configuration->setDefaultParameters([] { return Parameters{{"platform", "mine"}}; });
    signal("first", {{"platform", "x"}});
    signal("second");
    EXPECT_EQ(platform.log.count("reserved key 'platform'"), 2u);
    EXPECT_EQ(cachedSignals("first")[0].payload.at("platform"), "x");
}

// The client's default payload < enrichers (in order) < the signal's own parameters, which include the
// configuration's default parameters.
TEST_F(ClientTest, LaterSourcesWinWhenParametersMerge) {
    auto configuration = platform.makeConfiguration();
    auto first = std::make_shared<FixedEnricher>(Parameters{{"platform", "first"}, {"onlyEnriched", "e"}});
    auto second = std::make_shared<FixedEnricher>(Parameters{{"platform", "second"}});
    configuration->setMetadataEnrichers({first, second});
    configuration->setDefaultParameters([] {
        return Parameters{{"source", "defaults"}, {"onlyDefault", "d"}};
    });
    start(configuration);

    signal("withOwn", {{"source", "signal"}, {"platform", "signal"}}, std::nullopt, "user-7");
    signal("withoutOwn");
    const auto withOwn = cachedSignals("withOwn");
    ASSERT_EQ(withOwn.size(), 1u);
    EXPECT_EQ(withOwn[0].payload.at("source"), "signal");
    EXPECT_EQ(withOwn[0].payload.at("platform"), "signal");
    EXPECT_EQ(withOwn[0].payload.at("onlyDefault"), "d");
    EXPECT_EQ(withOwn[0].payload.at("onlyEnriched"), "e");
    EXPECT_EQ(withOwn[0].clientUser, UsageStatsHashing::sha256("user-7", ""));
    const auto withoutOwn = cachedSignals("withoutOwn");
    EXPECT_EQ(withoutOwn[0].payload.at("platform"), "second");
    EXPECT_EQ(withoutOwn[0].payload.at("source"), "defaults");
    EXPECT_EQ(withoutOwn[0].payload.at("UsageStats.SDK.name"), "CppSDK");
    EXPECT_EQ(first->seenUsers, (std::vector<std::optional<std::string>>{"user-7", std::nullopt}));
}

TEST_F(ClientTest, SignalsBeforeInitialiseAreKeptBoundedAndSentOnce) {
    {
        SignalCache stored(platform.cacheFile(), std::nullopt);
        stored.add({UsageStatsTesting::testStartTime(),
                    "APP",
                    "user",
                    "SESSION",
                    "stored",
                    std::nullopt,
                    {},
                    "false"});
        ASSERT_TRUE(stored.save());
    }
    ASSERT_FALSE(UsageStatsManager::isInitialized());
    for (int index = 0; index < 510; ++index) {
        signal("early", {{"index", std::to_string(index)}});
    }
    EXPECT_FALSE(UsageStatsManager::isInitialized());
    EXPECT_EQ(SignalCache(platform.cacheFile(), std::nullopt).count(), 1u);

    auto configuration = platform.makeConfiguration();
    configuration->setDefaultSignalPrefix("App.");
    start(configuration);
    const auto early = cachedSignals("App.early");
    ASSERT_EQ(early.size(), 500u);
    EXPECT_EQ(early.front().payload.at("index"), "10");
    EXPECT_EQ(platform.log.count("Dropped the 10 oldest signals sent before the client was initialised"), 1u);
    EXPECT_EQ(cachedSignals("stored").size(), 1u);
}

TEST_F(ClientTest, TerminateStopsTheManagerAndHandsItsCacheOver) {
    start(platform.makeConfiguration());
    signal("before");
    EXPECT_EQ(cachedSignals("before").size(), 1u);
    terminate();
    EXPECT_FALSE(UsageStatsManager::isInitialized());
    EXPECT_TRUE(std::filesystem::exists(platform.cacheFile()));

    platform.log.clear();
    platform.executor->advance(std::chrono::seconds(30));
    EXPECT_EQ(platform.log.count("Current signal cache count"), 0u);

    start(platform.makeConfiguration());
    EXPECT_EQ(cachedSignals("before").size(), 1u);
}

TEST_F(ClientTest, FirstSessionBeginsHalfASecondAfterStart) {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    start(platform.makeConfiguration());
    platform.executor->advance(std::chrono::milliseconds(499));
    EXPECT_TRUE(cachedSignals("UsageStats.Session.started").empty());
    platform.executor->advance(std::chrono::milliseconds(1));
    EXPECT_EQ(cachedSignals("UsageStats.Session.started").size(), 1u);
    const auto installs = cachedSignals("UsageStats.Acquisition.newInstallDetected");
    ASSERT_EQ(installs.size(), 1u);
    EXPECT_EQ(installs[0].payload.at("UsageStats.Acquisition.firstSessionDate"), "2025-01-31");

    generateNewSession();
    EXPECT_EQ(cachedSignals("UsageStats.Session.started").size(), 2u);
    EXPECT_EQ(cachedSignals("UsageStats.Acquisition.newInstallDetected").size(), 1u);
}

TEST_F(ClientTest, ImmediateSyncRunsAtMostOncePerTenSeconds) {
    start(platform.makeConfiguration());
    auto& executor = *platform.executor;
    executor.runUntilIdle(); // the attempt at start
    platform.log.clear();
    requestImmediateSync();
    executor.advance(std::chrono::milliseconds(100));
    EXPECT_EQ(platform.log.count("Current signal cache count"), 1u);
    executor.advance(std::chrono::milliseconds(4900));
    requestImmediateSync();
    executor.advance(std::chrono::milliseconds(100));
    EXPECT_EQ(platform.log.count("Current signal cache count"), 1u);
    executor.advance(std::chrono::milliseconds(6000)); // the 10 s tick runs once on the way
    requestImmediateSync();
    executor.advance(std::chrono::milliseconds(100));
    EXPECT_EQ(platform.log.count("Current signal cache count"), 3u);
}

TEST_F(ClientTest, NonFiniteFloatValuesAreDroppedWithALogLine) {
    start(platform.makeConfiguration());
    signal("measured", {}, std::nan(""));
    signal("measured", {}, 2.5);
    const auto measured = cachedSignals("measured");
    ASSERT_EQ(measured.size(), 2u);
    EXPECT_EQ(measured[0].floatValue, std::nullopt);
    EXPECT_EQ(measured[1].floatValue, 2.5);
    EXPECT_EQ(platform.log.count("Dropped the non-finite floatValue of signal 'measured'"), 1u);
}

TEST(UsageStatsConfiguration, StartsWithTheDocumentedValues) {
    UsageStatsConfiguration configuration("APP");
    EXPECT_EQ(configuration.salt(), "");
    EXPECT_EQ(configuration.apiBaseURL(), UsageStatsConfiguration::defaultBaseURL);
    EXPECT_EQ(configuration.namespaceName(), std::nullopt);
    EXPECT_FALSE(configuration.testMode());
    configuration.setTestMode(true);
    EXPECT_TRUE(configuration.testMode());
    configuration.setUsageStatsAllowDebugBuilds(true);
    EXPECT_TRUE(configuration.sendSignalsInDebugConfiguration());
    EXPECT_EQ(configuration.sessionID().size(), 36u);
}

TEST(UsageStatsConfiguration, TakesConcurrentReadsAndWrites) {
    UsageStatsConfiguration configuration("APP");
    std::vector<std::thread> threads;
    for (int thread = 0; thread < 4; ++thread) {
        threads.emplace_back([&configuration, thread] {
            for (int step = 0; step < 2000; ++step) {
                configuration.setDefaultUser("user-" + std::to_string(thread * step) + std::string(40, 'x'));
                configuration.setDefaultParameterPrefix(std::string(step % 50, 'p'));
                EXPECT_TRUE(configuration.defaultUser().has_value());
                EXPECT_LE(configuration.defaultParameterPrefix()->size(), 49u);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
}
