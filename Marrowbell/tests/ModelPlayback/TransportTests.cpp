#include "ModelPlaybackFixture.h"

namespace Marrowbell::Testing {
namespace {

using Status = MusicKit::MusicPlayerPlaybackStatus;

class TransportTest : public ModelPlaybackTest {
protected:
    void SetUp() override {
        ModelPlaybackTest::SetUp();
        ASSERT_TRUE(finishes(model->start()));
    }

    std::string currentSongID() const { return player->queue().currentEntry()->song()->id.rawValue(); }
    QString titleOf(std::size_t index) const { return QString::fromStdString(songs[index].title); }

    const std::vector<MusicKit::Song> songs{catalogSong(10), catalogSong(11)};
};

TEST_F(TransportTest, PlaySkipPauseAndStopReachThePlayerAndTheFields) {
    player->setQueue(songs);
    ASSERT_TRUE(finishes(model->resume()));
    EXPECT_FALSE(model->isStopped.get());
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->isPlaying.get(); }, 5000));
    EXPECT_EQ(player->state().playbackStatus(), Status::playing);
    const double startedAt = model->currentPlayingTime.get();
    EXPECT_TRUE(QTest::qWaitFor([&] { return model->currentPlayingTime.get() > startedAt + 0.5; }, 4000))
        << "the position timer runs while playing";

    ASSERT_TRUE(finishes(model->skipToNextEntry()));
    EXPECT_EQ(currentSongID(), songs[1].id.rawValue());
    EXPECT_EQ(model->playingTitle.get(), titleOf(1));
    EXPECT_EQ(model->queue.get().size(), 1u);

    // Past the last entry the player refuses; the fields stay.
    const auto refusals = logCount("Failed to skip to next entry: %@");
    ASSERT_TRUE(finishes(model->skipToNextEntry()));
    EXPECT_EQ(logCount("Failed to skip to next entry: %@") - refusals, 1u);
    EXPECT_EQ(model->playingTitle.get(), titleOf(1));

    ASSERT_TRUE(finishes(model->skipToPreviousEntry()));
    EXPECT_EQ(currentSongID(), songs[0].id.rawValue());
    EXPECT_EQ(model->playingTitle.get(), titleOf(0));

    model->pause();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !model->isPlaying.get(); }, 5000));
    EXPECT_EQ(player->state().playbackStatus(), Status::paused);

    ASSERT_TRUE(finishes(model->stop()));
    EXPECT_TRUE(player->queue().entries().empty());
    EXPECT_NE(player->state().playbackStatus(), Status::playing);
    EXPECT_FALSE(model->playingTitle.get());
    EXPECT_EQ(model->playingDuration.get(), 0.0);
    EXPECT_FALSE(model->playingItemIDForArtwork.get());
    EXPECT_TRUE(model->isStopped.get());
}

// As while the service holds a song's audio back: the list has asked for the song, the player has not
// started.
TEST_F(TransportTest, ASongAskedForCountsAsPlayingUntilStopAndForFiveSecondsAtMost) {
    MarrowbellCore::LocalSong chosen;
    chosen.identifier = songs[0].id.rawValue();
    chosen.title = songs[0].title;
    const auto askFor = [&](QDateTime when) {
        player->setQueue(songs);
        model->isStopped.set(false);
        model->eagerEntryDate.set(when);
        model->eagerEntry.set(chosen);
        model->refreshPlayerState();
        model->updatePlaybackStatus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return model->isPlaying.get(); }, 1000));
    };

    askFor(QDateTime::currentDateTimeUtc());
    ASSERT_TRUE(finishes(model->stop()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !model->isPlaying.get(); }, 1000)) << "Stop shows stopped";

    askFor(QDateTime::currentDateTimeUtc().addMSecs(-4000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !model->isPlaying.get(); }, 2500))
        << "the player never said it plays";
    EXPECT_NE(player->state().playbackStatus(), Status::playing);
}

TEST_F(TransportTest, PlayWithNothingQueuedClearsStoppedAndLogsTheFailure) {
    const auto failures = logCount("Failed to resume playback: %@");
    ASSERT_TRUE(finishes(model->resume()));
    EXPECT_FALSE(model->isStopped.get()) << "cleared before the player was asked";
    EXPECT_EQ(logCount("Failed to resume playback: %@") - failures, 1u);
}

} // namespace
} // namespace Marrowbell::Testing
