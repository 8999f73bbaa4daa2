#include "UsageStats/HttpTransport.h"
#include "support/LoopbackIngestServer.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <regex>

using namespace UsageStats;
using UsageStatsTesting::ClientTest;
using UsageStatsTesting::LoopbackIngestServer;

namespace {

class SilentTransport final : public HttpTransport {
public:
    HttpReply post(const HttpRequest&) override { return {}; }
};

class UploadTest : public ClientTest {
protected:
    /// A client that sends only the test's own signals.
    std::shared_ptr<UsageStatsConfiguration>
    startClient(std::optional<std::string> namespaceName = std::nullopt) {
        auto configuration = platform.makeConfiguration(server.baseURL(), namespaceName);
        configuration->setSessionStatsEnabled(false);
        configuration->setSendNewSessionBeganSignal(false);
        start(configuration);
        return configuration;
    }

    void sendSignals(const std::string& type, int count) {
        for (int index = 0; index < count; ++index) {
            signal(type, {{"index", std::to_string(index)}});
        }
        platform.executor->runUntilIdle();
    }

    void tick(int times = 1) { platform.executor->advance(SignalManager::sendInterval * times); }

    std::size_t waiting() { return UsageStatsManager::shared()->signalManager()->cache()->count(); }

    LoopbackIngestServer server;
};

} // namespace

TEST_F(UploadTest, SendsAtMostOneHundredSignalsPerTick) {
    startClient();
    sendSignals("bulk", 250);
    tick(3);
    const auto received = server.received();
    ASSERT_EQ(received.size(), 3u);
    const std::regex textDate(R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}\+0000)");
    std::vector<std::size_t> sizes;
    for (const auto& request : received) {
        EXPECT_EQ(request.path, "/v2/");
        EXPECT_EQ(request.contentType, "application/json");
        const auto batch = nlohmann::json::parse(request.body);
        ASSERT_TRUE(batch.is_array());
        sizes.push_back(batch.size());
        EXPECT_TRUE(std::regex_match(batch[0]["receivedAt"].get<std::string>(), textDate));
        EXPECT_EQ(batch[0]["appID"], "7C4E19A2-D35B-4F60-8E27-1B9A0C6D5F48");
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{100, 100, 50}));
    EXPECT_EQ(waiting(), 0u);
    EXPECT_EQ(platform.log.count("Sending 100 signals leaving a cache of 150 signals"), 1u);
}

TEST_F(UploadTest, PostsUnderTheNamespaceWhenOneIsSet) {
    startClient("abc");
    sendSignals("named", 1);
    tick();
    terminate();
    startClient("");
    sendSignals("plain", 1);
    tick();
    const auto received = server.received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].path, "/v2/namespace/abc/");
    EXPECT_EQ(received[1].path, "/v2/");
}

TEST_F(UploadTest, RefusedUploadsPauseLongerEachTime) {
    startClient();
    sendSignals("refused", 1);
    server.answerNext({401, 403});
    tick(); // 401 at 10 s: pause until 30 s
    tick(2);
    EXPECT_EQ(server.received().size(), 2u); // 403 at 30 s: pause until 70 s
    tick(3);
    EXPECT_EQ(server.received().size(), 2u);
    tick();
    EXPECT_EQ(server.received().size(), 3u);
    EXPECT_EQ(platform.log.count("unauthorised"), 1u);
    EXPECT_EQ(platform.log.count("forbidden"), 1u);
    EXPECT_EQ(waiting(), 0u);
}

TEST_F(UploadTest, ABatchTooLargeIsRetriedInHalvesAndASingleSignalIsDropped) {
    startClient();
    sendSignals("large", 8);
    server.answerNext({413});
    tick(3);
    auto received = server.received();
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0].signalTypes().size(), 8u);
    EXPECT_EQ(nlohmann::json::parse(received[1].body)[0]["payload"]["index"], "0");
    EXPECT_EQ(received[1].signalTypes().size(), 4u);
    EXPECT_EQ(nlohmann::json::parse(received[2].body)[0]["payload"]["index"], "4");

    sendSignals("huge", 1);
    server.answerNext({413});
    tick();
    EXPECT_EQ(waiting(), 0u);
    EXPECT_EQ(platform.log.count("Dropped signal 'huge': the service refuses it as too large"), 1u);
}

TEST_F(UploadTest, AReplyWithoutResponseOrErrorIsAFailure) {
    auto configuration = startClient();
    configuration->setHttpTransport(std::make_shared<SilentTransport>());
    sendSignals("unanswered", 2);
    tick();
    EXPECT_EQ(platform.log.count("Upload ended with neither a response nor an error"), 1u);
    EXPECT_EQ(waiting(), 2u);
}

TEST_F(ClientTest, AnUnreachableServiceKeepsTheBatch) {
    auto configuration = platform.makeConfiguration("http://127.0.0.1:9");
    configuration->setSessionStatsEnabled(false);
    start(configuration);
    signal("unsent");
    platform.executor->advance(SignalManager::sendInterval);
    EXPECT_EQ(cachedSignals("unsent").size(), 1u);
    EXPECT_EQ(platform.log.count("Couldn't connect to server"), 1u);
}
