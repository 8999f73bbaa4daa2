#include "UsageStats/CurlTransport.h"
#include "UsageStats/EventLoopThread.h"
#include "UsageStats/LifecycleEventHub.h"
#include "UsageStats/LinuxPlatformFacts.h"
#include "UsageStats/SignalCache.h"
#include "UsageStats/SignalManager.h"
#include "UsageStats/UsageStats.h"
#include "UsageStats/UsageStatsConfiguration.h"
#include "UsageStats/UsageStatsManager.h"
#include "support/Eventually.h"
#include "support/LoopbackIngestServer.h"
#include "support/TemporaryDirectory.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace UsageStats;
using namespace std::chrono_literals;
using UsageStatsTesting::eventually;

namespace {

/// Real time that a test can move ahead, past the pause that follows a failed upload.
class JumpingClock final : public Clock {
public:
    WallTime now() const override {
        return std::chrono::system_clock::now() + std::chrono::duration_cast<WallTime::duration>(offset());
    }
    MonotonicTime monotonicNow() const override { return std::chrono::steady_clock::now() + offset(); }
    void jump(std::chrono::nanoseconds distance) { offsetNanoseconds_ += distance.count(); }

private:
    std::chrono::nanoseconds offset() const { return std::chrono::nanoseconds(offsetNanoseconds_.load()); }

    std::atomic<std::chrono::nanoseconds::rep> offsetNanoseconds_ = 0;
};

std::vector<std::string> typesOf(const std::vector<SignalPostBody>& signals) {
    std::vector<std::string> types;
    for (const auto& signal : signals) {
        types.push_back(signal.type);
    }
    return types;
}

/// The client on threads of its own, as in the application: an event loop as main thread, another as
/// worker, and the manager's own upload thread.
class UploadInFlightTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto configuration = std::make_shared<UsageStatsConfiguration>("APP", std::nullopt, server.baseURL());
        configuration->setPlatformServices({clock, mainThread, worker, lifecycle,
                                            std::make_shared<LinuxPlatformFacts>(),
                                            directory.path() / "config", directory.path() / "cache"});
        configuration->setSessionStatsEnabled(false);
        configuration->setSendNewSessionBeganSignal(false);
        configuration->setLogHandler(std::nullopt);
        initialize(configuration);
        signalManager = UsageStatsManager::shared()->signalManager();
    }

    void TearDown() override { terminate(); }

    /// What the send timer does, on the main thread.
    void tick() {
        mainThread->post([manager = signalManager] { manager->attemptToSendNextBatchOfCachedSignals(); });
    }

    std::vector<SignalPostBody> waiting() const { return signalManager->cache()->waitingSignals(); }

    UsageStatsTesting::LoopbackIngestServer server;
    UsageStatsTesting::TemporaryDirectory directory;
    std::shared_ptr<JumpingClock> clock = std::make_shared<JumpingClock>();
    std::shared_ptr<EventLoopThread> mainThread = std::make_shared<EventLoopThread>();
    std::shared_ptr<EventLoopThread> worker = std::make_shared<EventLoopThread>();
    std::shared_ptr<LifecycleEventHub> lifecycle = std::make_shared<LifecycleEventHub>();
    std::shared_ptr<SignalManager> signalManager;
};

} // namespace

TEST_F(UploadInFlightTest, SignalsSentDuringAFailingUploadKeepTheirTimesAndGoFirst) {
    signal("old");
    signal("old");
    ASSERT_TRUE(eventually([&] { return waiting().size() == 2; }));
    // Held well past the last signal, so a signal stamped when the upload ends could not pass as on time.
    server.holdNext(3s);
    server.answerNext({500});
    tick();
    ASSERT_TRUE(server.waitForRequests(1));

    std::vector<WallTime> sentAt;
    for (int index = 0; index < 4; ++index) {
        std::this_thread::sleep_for(250ms);
        sentAt.push_back(clock->now());
        signal("new", {{"index", std::to_string(index)}});
        tick(); // one upload at a time: this takes nothing
    }
    ASSERT_TRUE(eventually([&] { return waiting().size() == 6; }));
    const auto cached = waiting();
    EXPECT_EQ(typesOf(cached), (std::vector<std::string>{"new", "new", "new", "new", "old", "old"}));
    for (std::size_t index = 0; index < sentAt.size(); ++index) {
        EXPECT_LE(std::chrono::abs(cached[index].receivedAt - sentAt[index]), 1s) << "signal " << index;
    }
    EXPECT_EQ(server.received().size(), 1u);

    clock->jump(SignalManager::sendInterval * 3); // past the pause after one failure
    tick();
    ASSERT_TRUE(server.waitForRequests(2));
    EXPECT_EQ(server.received()[1].signalTypes(),
              (std::vector<std::string>{"new", "new", "new", "new", "old", "old"}));
}

TEST_F(UploadInFlightTest, QuittingDoesNotWaitForTheUploadAndSavesItsBatch) {
    signal("inFlight");
    signal("inFlight");
    ASSERT_TRUE(eventually([&] { return waiting().size() == 2; }));
    server.holdNext(30s);
    tick();
    ASSERT_TRUE(server.waitForRequests(1));
    signal("later");
    ASSERT_TRUE(eventually([&] { return waiting().size() == 1; }));

    const auto quitStarted = std::chrono::steady_clock::now();
    lifecycle->publish(LifecycleEvent::willTerminate);
    terminate();
    EXPECT_LT(std::chrono::steady_clock::now() - quitStarted, 2s);
    const SignalCache saved(directory.path() / "cache" / SignalCache::fileName, std::nullopt);
    EXPECT_EQ(typesOf(saved.waitingSignals()), (std::vector<std::string>{"later", "inFlight", "inFlight"}));
}

TEST(CurlTransport, AStopRequestEndsTheRequestAtOnce) {
    UsageStatsTesting::LoopbackIngestServer server;
    server.holdNext(30s);
    std::stop_source stop;
    HttpRequest request{server.baseURL() + "/v2/", {{"Content-Type", "application/json"}}, "[]"};
    request.stopToken = stop.get_token();
    const std::jthread quitter([&] {
        server.waitForRequests(1);
        stop.request_stop();
    });
    const auto started = std::chrono::steady_clock::now();
    const auto reply = CurlTransport().post(request);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_EQ(reply.transportError, "Upload cancelled");
}
