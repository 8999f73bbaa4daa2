#include <DemoService/DemoService.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace {

nlohmann::json signalRecord(const std::string& type) {
    return {{"receivedAt", "2026-12-09T16:00:00+0000"},
            {"appID", "APP"},
            {"clientUser", "user-hash"},
            {"sessionID", "session"},
            {"type", type},
            {"payload", {{"key", "value"}}},
            {"isTestMode", "true"}};
}

std::vector<std::string> typesOf(const std::vector<DemoService::UsageSignalInbox::Signal>& signals) {
    std::vector<std::string> types;
    for (const auto& signal : signals) {
        types.push_back(signal.type);
    }
    return types;
}

class UsageSignalInboxTests : public ::testing::Test {
protected:
    void SetUp() override { service_.start(); }

    /// The status of posting `body` to `path`, or 0 when no answer came.
    int post(const std::string& path, const std::string& body) {
        httplib::Client client(service_.baseURL());
        client.set_connection_timeout(5);
        client.set_read_timeout(5);
        const auto result = client.Post(path, body, "application/json");
        return result ? result->status : 0;
    }

    const DemoService::UsageSignalInbox& inbox() const { return service_.usageSignalInbox(); }

    DemoService::DemoService service_{DemoService::DemoService::Options{.songCount = 10}};
};

} // namespace

TEST_F(UsageSignalInboxTests, KeepsTheSignalsOfEachBatchWithTheNamespaceTheyWerePostedUnder) {
    EXPECT_EQ(post("/v2/", nlohmann::json::array({signalRecord("A"), signalRecord("B")}).dump()), 200);
    EXPECT_EQ(post("/v2/namespace/abc/", nlohmann::json::array({signalRecord("C")}).dump()), 200);
    EXPECT_EQ(post("/v2/", "[]"), 200);

    const auto signals = inbox().signals();
    EXPECT_EQ(typesOf(signals), (std::vector<std::string>{"A", "B", "C"}));
    ASSERT_EQ(signals.size(), 3u);
    EXPECT_EQ(signals[0].namespaceName, "");
    EXPECT_EQ(signals[0].appID, "APP");
    EXPECT_EQ(signals[0].clientUser, "user-hash");
    EXPECT_EQ(signals[0].sessionID, "session");
    EXPECT_EQ(signals[2].namespaceName, "abc");
}

TEST_F(UsageSignalInboxTests, RefusesABatchThatIsNotAnArrayOfSignalRecordsWhole) {
    auto withoutType = signalRecord("B");
    withoutType.erase("type");
    EXPECT_EQ(post("/v2/", nlohmann::json::array({signalRecord("A"), withoutType}).dump()), 400);
    EXPECT_EQ(post("/v2/", signalRecord("A").dump()), 400);
    EXPECT_EQ(post("/v2/", "[{\"type\":"), 400);
    EXPECT_EQ(post("/v2/elsewhere/", nlohmann::json::array({signalRecord("A")}).dump()), 404);
    EXPECT_TRUE(inbox().signals().empty());
}

TEST_F(UsageSignalInboxTests, KeepsOnlyTheMostRecentSignals) {
    const std::size_t perBatch = DemoService::UsageSignalInbox::capacity / 2 + 5;
    for (std::size_t batch = 0; batch < 2; ++batch) {
        nlohmann::json records = nlohmann::json::array();
        for (std::size_t index = 0; index < perBatch; ++index) {
            records.push_back(signalRecord(std::to_string(batch) + "-" + std::to_string(index)));
        }
        ASSERT_EQ(post("/v2/", records.dump()), 200);
    }
    const auto signals = inbox().signals();
    ASSERT_EQ(signals.size(), DemoService::UsageSignalInbox::capacity);
    EXPECT_EQ(signals.front().type, "0-10");
    EXPECT_EQ(signals.back().type, "1-" + std::to_string(perBatch - 1));
}
