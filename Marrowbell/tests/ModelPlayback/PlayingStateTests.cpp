#include "Artwork/ArtworkImageCache.h"
#include "ModelPlaybackFixture.h"

#include <QFile>
#include <QSignalSpy>

namespace Marrowbell::Testing {
namespace {

using PlayingStateTest = ModelPlaybackTest;

TEST_F(PlayingStateTest, ABurstOfPlayerChangesBecomesOneRefreshAndOneStatusUpdate) {
    ASSERT_TRUE(finishes(model->start()));
    QSignalSpy reloads(&environment->notifications(), &AppNotifications::reloadVisibleRows);
    const auto refreshes = logCount("Using actual player entry: %s");
    const auto statusUpdates = logCount("Playback status: %ld");

    const std::vector<MusicKit::Song> songs{catalogSong(0), catalogSong(1), catalogSong(2)};
    for (std::size_t count = 1; count <= songs.size(); ++count) {
        player->setQueue(
            std::vector<MusicKit::Song>(songs.begin(), songs.begin() + static_cast<std::ptrdiff_t>(count)));
    }
    player->state().setRepeatMode(MusicKit::MusicPlayerRepeatMode::all);
    player->state().setRepeatMode(MusicKit::MusicPlayerRepeatMode::one);
    player->state().setShuffleMode(MusicKit::MusicPlayerShuffleMode::off);

    ASSERT_TRUE(QTest::qWaitFor([&] { return model->queue.get().size() == songs.size(); }, 2000));
    QTest::qWait(150);
    EXPECT_EQ(logCount("Using actual player entry: %s") - refreshes, 1u);
    EXPECT_EQ(logCount("Playback status: %ld") - statusUpdates, 1u);
    EXPECT_EQ(reloads.count(), 1) << "only the refresh posts; the play state did not change";
    EXPECT_EQ(model->playingTitle.get(), QString::fromStdString(songs[0].title));
    EXPECT_EQ(model->playingDuration.get(), *songs[0].duration);
}

TEST_F(PlayingStateTest, UpNextStartsAtTheCurrentEntryItselfWhenASongIsQueuedTwice) {
    const auto repeated = catalogSong(3);
    player->setQueue({repeated, catalogSong(4), repeated});
    const auto entries = player->queue().entries();
    player->queue().setCurrentEntry(entries[2].id);

    model->refreshPlayerState();
    ASSERT_EQ(model->queue.get().size(), 1u);
    EXPECT_EQ(model->queue.get().front().id, entries[2].id);

    player->queue().setEntries({});
    model->refreshPlayerState();
    EXPECT_TRUE(model->queue.get().empty());
    EXPECT_FALSE(model->playingTitle.get());
    EXPECT_EQ(model->playingDuration.get(), 0.0);
    EXPECT_FALSE(model->canAddToLibrary.get());
    EXPECT_FALSE(model->shareLink.get());
}

TEST_F(PlayingStateTest, AFreshEagerEntryShowsUntilStoppedOrStale) {
    player->setQueue({catalogSong(5)});
    MarrowbellCore::LocalSong chosen;
    chosen.identifier = "i.chosen";
    chosen.title = "Chosen Song";
    chosen.artistName = "Chosen Artist";
    chosen.duration = 42.0;
    model->eagerEntry.set(chosen);
    model->eagerEntryDate.set(QDateTime::currentDateTimeUtc());
    model->isStopped.set(false);

    model->refreshPlayerState();
    EXPECT_EQ(model->playingTitle.get(), QStringLiteral("Chosen Song"));
    EXPECT_EQ(model->playingSubtitle.get(), QStringLiteral("Chosen Artist"));
    EXPECT_EQ(model->playingDuration.get(), 42.0);
    model->updatePlaybackStatus();
    EXPECT_TRUE(model->isPlaying.get()) << "counts as playing before the player says so";

    model->isStopped.set(true);
    model->refreshPlayerState();
    EXPECT_EQ(model->playingTitle.get(), QString::fromStdString(catalogSong(5).title));

    model->isStopped.set(false);
    model->eagerEntryDate.set(QDateTime::currentDateTimeUtc().addSecs(-6));
    model->refreshPlayerState();
    model->updatePlaybackStatus();
    EXPECT_EQ(model->playingTitle.get(), QString::fromStdString(catalogSong(5).title));
    EXPECT_FALSE(model->isPlaying.get());
}

TEST_F(PlayingStateTest, AStationKeepsOneArtworkKeyAndOneCachedFile) {
    player->setQueue(MusicKit::Station{MusicKit::MusicItemID("ra.77"), "Station 77", artworkFor("ra.77")});
    for (int refresh = 0; refresh < 3; ++refresh) {
        model->refreshPlayerState();
        ASSERT_TRUE(QTest::qWaitFor([&] { return model->playingItemIDForArtwork.get().has_value(); }, 10000));
        EXPECT_EQ(model->playingItemIDForArtwork.get(), QStringLiteral("station-ra.77"));
    }
    EXPECT_EQ(artworkRequests("ra.77"), 1) << "one download for every refresh of the station";
    EXPECT_TRUE(QFile::exists(ArtworkImageCache::shared().filePath(QStringLiteral("station-ra.77"))));
}

TEST_F(PlayingStateTest, ANewerRefreshCancelsTheArtworkLoadOfTheEarlierItem) {
    const auto cancelled = logCount("Loading player artwork cancelled");
    player->setQueue({catalogSong(6)});
    model->refreshPlayerState();
    player->setQueue({catalogSong(7)});
    model->refreshPlayerState();
    const QString expected = QStringLiteral("song-") + QString::fromStdString(catalogSong(7).id.rawValue());
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->playingItemIDForArtwork.get() == expected; }, 10000));
    QTest::qWait(100);
    EXPECT_EQ(model->playingItemIDForArtwork.get(), expected);
    EXPECT_EQ(logCount("Loading player artwork cancelled") - cancelled, 1u);
}

} // namespace
} // namespace Marrowbell::Testing
