#include "UsageStats/DefaultsSuite.h"
#include "UsageStats/LogHandler.h"
#include "UsageStats/ParameterPrefix.h"
#include "UsageStats/ReservedNames.h"
#include "UsageStats/SignalPostBody.h"
#include "UsageStats/UsageStatsConfiguration.h"
#include "UsageStats/UsageStatsError.h"
#include "UsageStats/UsageStatsHashing.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace UsageStats;
using UsageStatsTesting::testStartTime;

namespace {

SignalPostBody sampleSignal(std::optional<double> floatValue) {
    return {testStartTime(),      "APP",      std::string(64, 'a'), "SESSION",
            "change_font_weight", floatValue, {{"size", "2"}},      "false"};
}

} // namespace

TEST(UsageStatsHashing, MatchesTheStandardDigestAndAppendsTheSalt) {
    EXPECT_EQ(UsageStatsHashing::sha256("abc", ""),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(UsageStatsHashing::sha256("ab", "c"), UsageStatsHashing::sha256("abc", ""));
    EXPECT_EQ(UsageStatsHashing::sha256("", ""),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(DefaultsSuite::suiteName("7C4E19A2-D35B-4F60-8E27-1B9A0C6D5F48"),
              "com.usagestats.111e11a80a72");
}

TEST(SignalPostBody, UploadWritesTextDatesAndLeavesOutAnAbsentFloatValue) {
    const auto json =
        nlohmann::json::parse(encodeSignalsForUpload({sampleSignal(std::nullopt), sampleSignal(1.5)}));
    ASSERT_TRUE(json.is_array());
    EXPECT_EQ(json[0]["receivedAt"], "2025-01-31T08:15:00+0000");
    EXPECT_FALSE(json[0].contains("floatValue"));
    EXPECT_EQ(json[1]["floatValue"], 1.5);
    EXPECT_EQ(json[0]["payload"]["size"], "2");
    EXPECT_EQ(json[0]["isTestMode"], "false");
}

TEST(SignalPostBody, CacheWritesSecondsSince2001AndReadsItBack) {
    const std::vector<SignalPostBody> signals{sampleSignal(std::nullopt), sampleSignal(-0.25)};
    const auto text = encodeSignalsForCache(signals);
    EXPECT_EQ(nlohmann::json::parse(text)[0]["receivedAt"], 760004100.0);
    EXPECT_EQ(decodeSignalsFromCache(text), signals);

    auto withNull = nlohmann::json::parse(text);
    withNull[1]["floatValue"] = nullptr;
    EXPECT_EQ(decodeSignalsFromCache(withNull.dump())[1].floatValue, std::nullopt);
    EXPECT_THROW(decodeSignalsFromCache("[{\"type\": 1}]"), SignalDecodingError);
    EXPECT_THROW(decodeSignalsFromCache("[{\"receivedAt\": 1, \"app"), SignalDecodingError);
}

TEST(ParameterPrefix, PrefixesEveryKeyButTheClientsOwn) {
    UsageStatsConfiguration configuration("APP");
    configuration.setDefaultParameterPrefix("my.");
    const auto prefixed = prefixedParameters(
        {{"UsageStats.Signal.durationInSeconds", "1"}, {"size", "2"}, {"usagestats.x", "3"}}, configuration);
    EXPECT_EQ(prefixed,
              (Parameters{
                  {"UsageStats.Signal.durationInSeconds", "1"}, {"my.size", "2"}, {"my.usagestats.x", "3"}}));
}

TEST(ReservedNames, AreTwentyFiveAndCompareWithoutLetterCase) {
    EXPECT_EQ(reservedKeys().size(), 25u);
    EXPECT_TRUE(isReservedName("Type"));
    EXPECT_TRUE(isReservedName("USAGESTATSCLIENTVERSION"));
    EXPECT_FALSE(isReservedName("my.type"));
    EXPECT_TRUE(hasReservedPrefix("usageStats.anything"));
}

TEST(UsageStatsError, MapsStatusCodes) {
    EXPECT_FALSE(UsageStatsError::fromStatusCode(200));
    EXPECT_FALSE(UsageStatsError::fromStatusCode(299));
    EXPECT_EQ(UsageStatsError::fromStatusCode(300)->kind(), UsageStatsError::Kind::invalidStatusCode);
    EXPECT_EQ(UsageStatsError::fromStatusCode(199)->kind(), UsageStatsError::Kind::invalidStatusCode);
    EXPECT_EQ(UsageStatsError::fromStatusCode(500)->description(), "invalidStatusCode(statusCode: 500)");
    EXPECT_EQ(UsageStatsError::fromStatusCode(500)->localizedDescription(), "Invalid status code 500");
    EXPECT_EQ(UsageStatsError::fromStatusCode(401)->description(), "unauthorised");
    EXPECT_EQ(UsageStatsError::fromStatusCode(401)->localizedDescription(), "Unauthorized (401)");
    EXPECT_EQ(UsageStatsError::fromStatusCode(403)->localizedDescription(), "Forbidden (403)");
    EXPECT_EQ(UsageStatsError::fromStatusCode(413)->localizedDescription(), "Payload is too large (413)");
}

TEST(LogHandler, DeliversFromItsLevelUpAndPrintsTheStandardLine) {
    std::vector<std::string> lines;
    const LogHandler handler{LogLevel::info,
                             [&lines](LogLevel, const std::string& message) { lines.push_back(message); }};
    handler.log(LogLevel::debug, "hidden");
    handler.log(LogLevel::info, "info");
    handler.log(LogLevel::error, "error");
    EXPECT_EQ(lines, (std::vector<std::string>{"info", "error"}));
    EXPECT_EQ(logLevelFromRawValue(3), std::nullopt);

    testing::internal::CaptureStdout();
    LogHandler::standard(LogLevel::info).log(LogLevel::error, "hello");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "[UsageStats: ERROR] hello\n");
}
