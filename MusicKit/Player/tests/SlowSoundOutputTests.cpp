#include "PlayerTesting.h"
#include "StallingSoundServer.h"

#include <DemoService/DemoServiceTest.h>
#include <MusicKit/ApplicationMusicPlayer.h>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>

namespace MusicKit {
namespace {

using namespace MusicKit::Testing;
using Status = MusicPlayerPlaybackStatus;

/// Several times as long as the player's stream buffer takes to fill on loopback.
constexpr std::chrono::milliseconds soundServerHold(1500);

/// Sound goes first to a sound server that is slow to answer, as on a desktop whose sound server is
/// busy. While the player's output waits for it, the song's stream goes on arriving and reports itself
/// buffered before the player has heard that it holds audio; the output then falls back to discarding the
/// sound, so nothing is heard.
class SlowSoundOutputTest : public DemoService::Testing::DemoServiceTest<200, 13> {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<QTemporaryDir>();
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
        // Only the sound server's own sink is tried among the sinks of a real sound system.
        qputenv("GST_PLUGIN_FEATURE_RANK", "alsasink:NONE,pipewiresink:NONE,jackaudiosink:NONE");
        qputenv("PULSE_SERVER", QByteArray::fromStdString(StallingSoundServer::addressAt(socketPath())));
        // The sound client keeps its key and runtime files under these, not in the user's home.
        for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
            qputenv(variable, folder->path().toUtf8());
        }
        DemoServiceTest::SetUpTestSuite();
    }
    static void TearDownTestSuite() {
        DemoServiceTest::TearDownTestSuite();
        folder.reset();
    }
    void SetUp() override {
        DemoServiceTest::SetUp();
        player = std::make_unique<ApplicationMusicPlayer>();
        // Up only now, so that the player's start, which looks for the server too, does not wait for it.
        soundServer = std::make_unique<StallingSoundServer>(socketPath(), soundServerHold);
    }
    void TearDown() override {
        player.reset();
        soundServer.reset();
        DemoServiceTest::TearDown();
    }

    static std::filesystem::path socketPath() {
        return folder->filePath(QStringLiteral("sound")).toStdString();
    }

    static inline std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<ApplicationMusicPlayer> player;
    std::unique_ptr<StallingSoundServer> soundServer;
};

TEST_F(SlowSoundOutputTest, SongsPlayWhileTheSoundOutputIsSlowToOpen) {
    // The second song starts on the player that has streamed the first.
    for (const auto& song : catalogSongs(library(), 2, 60)) {
        SCOPED_TRACE(song.id.rawValue());
        const int connectionsBefore = soundServer->connectionCount();
        player->setQueue({song});
        const auto playing = player->play();
        ASSERT_TRUE(finishes(playing, 15000));
        EXPECT_EQ(describe(failureOf(playing)), "");
        EXPECT_GT(soundServer->connectionCount(), connectionsBefore) << "the output waited for the server";
        EXPECT_EQ(player->state().playbackStatus(), Status::playing);
        EXPECT_TRUE(QTest::qWaitFor([&] { return player->playbackTime() > 0.3; }, 5000));
    }
}

} // namespace
} // namespace MusicKit

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
