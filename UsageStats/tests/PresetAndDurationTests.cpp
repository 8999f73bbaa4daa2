#include "UsageStats/DurationSignalTracker.h"
#include "UsageStats/ErrorPreset.h"
#include "UsageStats/NavigationPreset.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace UsageStats;
using namespace std::chrono_literals;

namespace {

class PresetTest : public UsageStatsTesting::ClientTest {
protected:
    void SetUp() override { start(platform.makeConfiguration()); }

    Parameters onlySignal(const std::string& type) {
        const auto signals = cachedSignals(type);
        EXPECT_EQ(signals.size(), 1u);
        return signals.empty() ? Parameters{} : signals.front().payload;
    }
};

} // namespace

TEST_F(PresetTest, DurationsCountWholeMillisecondsAndLaterParametersWin) {
    startDurationSignal("checkout", {{"source", "a"}, {"started", "yes"}});
    platform.executor->advance(2345ms);
    platform.clock->advance(600us);
    stopAndSendDurationSignal("checkout", {{"source", "b"}});
    auto parameters = onlySignal("checkout");
    EXPECT_EQ(parameters["UsageStats.Signal.durationInSeconds"], "2.345");
    EXPECT_EQ(parameters["source"], "b");
    EXPECT_EQ(parameters["started"], "yes");

    startDurationSignal("override");
    stopAndSendDurationSignal("override", {{"UsageStats.Signal.durationInSeconds", "custom"}});
    EXPECT_EQ(onlySignal("override")["UsageStats.Signal.durationInSeconds"], "custom");
}

TEST_F(PresetTest, InactiveTimeIsLeftOutUnlessAsked) {
    startDurationSignal("foreground");
    startDurationSignal("wall", {}, true);
    platform.executor->advance(3s);
    platform.clock->setWallTime(UsageStatsTesting::testStartTime() - 1h); // a clock change counts for nothing
    platform.lifecycle->publish(LifecycleEvent::didResignActive);
    platform.executor->advance(60s);
    platform.lifecycle->publish(LifecycleEvent::willBecomeActive);
    platform.executor->advance(2s);
    stopAndSendDurationSignal("foreground");
    stopAndSendDurationSignal("wall");
    EXPECT_EQ(onlySignal("foreground")["UsageStats.Signal.durationInSeconds"], "5.0");
    EXPECT_EQ(onlySignal("wall")["UsageStats.Signal.durationInSeconds"], "65.0");
}

TEST_F(PresetTest, OnlyARunningTimingSendsAndARestartMeasuresFromTheRestart) {
    stopAndSendDurationSignal("never");
    startDurationSignal("twice");
    platform.executor->advance(4s);
    startDurationSignal("twice");
    platform.executor->advance(1s);
    stopAndSendDurationSignal("twice");
    stopAndSendDurationSignal("twice");
    EXPECT_TRUE(cachedSignals("never").empty());
    EXPECT_EQ(onlySignal("twice")["UsageStats.Signal.durationInSeconds"], "1.0");
}

TEST_F(PresetTest, ErrorsCarryTheirIdentifierCategoryAndMessage) {
    errorOccurred("error_load_songs", std::nullopt, "The file is damaged.",
                  {{"domain", "SQLite"}, {"code", "11"}});
    auto parameters = onlySignal("UsageStats.Error.occurred");
    EXPECT_EQ(parameters["UsageStats.Error.id"], "error_load_songs");
    EXPECT_EQ(parameters["UsageStats.Error.message"], "The file is damaged.");
    EXPECT_EQ(parameters["domain"], "SQLite");
    EXPECT_EQ(parameters["code"], "11");
    EXPECT_EQ(parameters.count("UsageStats.Error.category"), 0u);
    EXPECT_EQ(platform.log.count("reserved"), 0u);
}

TEST_F(PresetTest, IdentifiableErrorsSendTheirDescriptionAndCategory) {
    const auto wrapped = withID(std::make_exception_ptr(std::runtime_error("Disk full")), "save");
    errorOccurred(wrapped, ErrorCategory::appState, {{"UsageStats.Error.id", "replaced"}});
    auto parameters = onlySignal("UsageStats.Error.occurred");
    EXPECT_EQ(parameters["UsageStats.Error.id"], "replaced");
    EXPECT_EQ(parameters["UsageStats.Error.category"], "app-state");
    EXPECT_EQ(parameters["UsageStats.Error.message"], "Disk full");
    EXPECT_EQ(errorCategoryFromRawValue("user-input"), ErrorCategory::userInput);
    EXPECT_EQ(errorCategoryFromRawValue("other"), std::nullopt);
}

TEST_F(PresetTest, NavigationStartsFromThePreviousDestination) {
    navigationPathChanged("", "start");
    navigationPathChangedTo("settings");
    navigationPathChangedTo("about");
    const auto signals = cachedSignals("UsageStats.Navigation.pathChanged");
    ASSERT_EQ(signals.size(), 3u);
    EXPECT_EQ(signals[1].payload.at("UsageStats.Navigation.identifier"), "start -> settings");
    EXPECT_EQ(signals[2].payload.at("UsageStats.Navigation.sourcePath"), "settings");
    EXPECT_EQ(signals[2].payload.at("UsageStats.Navigation.destinationPath"), "about");
    EXPECT_EQ(signals[2].payload.at("UsageStats.Navigation.schemaVersion"), "1");
    EXPECT_EQ(NavigationStatus::previousNavigationPath(), "about");
}

TEST_F(PresetTest, AnIdentifiableErrorMayCarryItsOwnMessage) {
    errorOccurredWithMessage(withID(nullptr, "sync"), ErrorCategory::userInput, std::nullopt);
    auto parameters = onlySignal("UsageStats.Error.occurred");
    EXPECT_EQ(parameters["UsageStats.Error.id"], "sync");
    EXPECT_EQ(parameters["UsageStats.Error.category"], "user-input");
    EXPECT_EQ(parameters.count("UsageStats.Error.message"), 0u);
}
