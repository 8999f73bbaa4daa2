#include "PlayerTesting.h"

#include <DemoService/DelayingRelay.h>
#include <DemoService/DemoServiceTest.h>
#include <MusicKit/ApplicationMusicPlayer.h>
#include <MusicKit/MusicDataRequest.h>
#include <MusicKit/MusicPlayerError.h>
#include <MusicKit/PlaybackAssetRequest.h>
#include <QElapsedTimer>
#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <set>

namespace MusicKit {
namespace {

using namespace MusicKit::Testing;
using Status = MusicPlayerPlaybackStatus;

/// What the state and the queue show, to compare before and after their announcements.
struct Snapshot {
    Status status;
    std::optional<MusicPlayerRepeatMode> repeat;
    std::optional<MusicPlayerShuffleMode> shuffle;
    std::vector<std::string> entryIDs;
    std::optional<std::string> currentID;

    bool operator==(const Snapshot&) const = default;
};

class ApplicationMusicPlayerTest : public DemoService::Testing::DemoServiceTest<200, 11> {
protected:
    void SetUp() override {
        DemoServiceTest::SetUp();
        player = std::make_unique<ApplicationMusicPlayer>();
    }
    void TearDown() override {
        player.reset();
        DemoServiceTest::TearDown();
    }

    Snapshot snapshot() const {
        Snapshot shown{player->state().playbackStatus(),
                       player->state().repeatMode(),
                       player->state().shuffleMode(),
                       {},
                       std::nullopt};
        for (const auto& entry : player->queue().entries()) {
            shown.entryIDs.push_back(entry.id);
        }
        if (const auto current = player->queue().currentEntry()) {
            shown.currentID = current->id;
        }
        return shown;
    }

    std::string currentSongID() const { return player->queue().currentEntry()->song()->id.rawValue(); }

    void playQueue(const std::vector<Song>& songs) {
        player->setQueue(songs);
        const auto playing = player->play();
        ASSERT_TRUE(finishes(playing));
        ASSERT_EQ(describe(failureOf(playing)), "");
        ASSERT_EQ(player->state().playbackStatus(), Status::playing);
    }

    /// Seeks to just before the end of the current song.
    void seekNearEnd(double duration) { player->setPlaybackTime(duration - 0.4); }

    bool waitForSong(const std::string& songID, int timeoutMs = 8000) {
        return QTest::qWaitFor(
            [&] {
                return player->state().playbackStatus() == Status::playing && currentSongID() == songID &&
                       player->playbackTime() > 0.0;
            },
            timeoutMs);
    }

    std::unique_ptr<ApplicationMusicPlayer> player;
};

TEST_F(ApplicationMusicPlayerTest, QueuePlaysSeeksAndMovesOnAtTheEndOfEachEntry) {
    const auto songs = catalogSongs(library(), 3);
    playQueue(songs);
    EXPECT_EQ(currentSongID(), songs[0].id.rawValue());
    EXPECT_EQ(player->queue().entries().size(), 3u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->playbackTime() > 0.3; }, 5000));

    player->setPlaybackTime(30.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->playbackTime() >= 29.5; }, 3000));
    EXPECT_NEAR(player->playbackTime(), 30.0, 0.5);

    seekNearEnd(*songs[0].duration);
    ASSERT_TRUE(waitForSong(songs[1].id.rawValue()));
    EXPECT_LT(player->playbackTime(), 5.0);

    // Past the last entry without repeat, the player stops there.
    ASSERT_TRUE(finishes(player->skipToNextEntry()));
    ASSERT_TRUE(waitForSong(songs[2].id.rawValue()));
    seekNearEnd(*songs[2].duration);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->state().playbackStatus() == Status::stopped; }, 8000));
    EXPECT_EQ(currentSongID(), songs[2].id.rawValue());
    const auto pastEnd = player->skipToNextEntry();
    ASSERT_TRUE(finishes(pastEnd));
    EXPECT_NE(failureOf(pastEnd), nullptr);
}

TEST_F(ApplicationMusicPlayerTest, RepeatOneReplaysTheEntryAndRepeatAllWrapsAround) {
    const auto songs = catalogSongs(library(), 2, 10);
    playQueue(songs);
    player->state().setRepeatMode(MusicPlayerRepeatMode::one);
    seekNearEnd(*songs[0].duration);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return player->playbackTime() > 0.0 && player->playbackTime() < 3.0; }, 8000));
    EXPECT_EQ(currentSongID(), songs[0].id.rawValue());
    EXPECT_EQ(player->state().playbackStatus(), Status::playing);

    player->state().setRepeatMode(MusicPlayerRepeatMode::all);
    ASSERT_TRUE(finishes(player->skipToNextEntry()));
    ASSERT_TRUE(waitForSong(songs[1].id.rawValue()));
    seekNearEnd(*songs[1].duration);
    ASSERT_TRUE(waitForSong(songs[0].id.rawValue()));
}

TEST_F(ApplicationMusicPlayerTest, ShuffleKeepsEveryEntryOnceAndTurningItOffRestoresTheOrder) {
    const auto songs = catalogSongs(library(), 12);
    playQueue(songs);
    const auto ordered = snapshot().entryIDs;
    const auto playingID = snapshot().currentID;

    player->state().setShuffleMode(MusicPlayerShuffleMode::songs);
    const auto shuffled = snapshot().entryIDs;
    EXPECT_EQ(std::set(shuffled.begin(), shuffled.end()), std::set(ordered.begin(), ordered.end()));
    EXPECT_EQ(shuffled.size(), ordered.size());
    EXPECT_NE(shuffled, ordered);
    // What plays keeps playing, first in the shuffled order.
    EXPECT_EQ(shuffled.front(), *playingID);
    EXPECT_EQ(snapshot().currentID, playingID);

    player->state().setShuffleMode(MusicPlayerShuffleMode::off);
    EXPECT_EQ(snapshot().entryIDs, ordered);
    EXPECT_EQ(snapshot().currentID, playingID);

    // Turned on while the chosen song still loads, shuffle keeps it and plays it.
    player->setQueue(songs);
    const auto starting = player->play();
    player->state().setShuffleMode(MusicPlayerShuffleMode::songs);
    EXPECT_EQ(currentSongID(), songs[0].id.rawValue());
    ASSERT_TRUE(finishes(starting));
    EXPECT_TRUE(waitForSong(songs[0].id.rawValue()));
    player->state().setShuffleMode(MusicPlayerShuffleMode::off);

    // However few songs come next, turning shuffle on changes their order.
    playQueue(catalogSongs(library(), 3, 50));
    const auto three = snapshot().entryIDs;
    for (int turn = 0; turn < 16; ++turn) {
        player->state().setShuffleMode(MusicPlayerShuffleMode::songs);
        EXPECT_NE(snapshot().entryIDs, three);
        player->state().setShuffleMode(MusicPlayerShuffleMode::off);
    }
}

TEST_F(ApplicationMusicPlayerTest, EditsKeepTheCurrentEntryAndStopWithAnEmptiedQueueLeavesNothing) {
    const auto songs = catalogSongs(library(), 5, 20);
    player->setQueue(songs, songs[2].id);
    ASSERT_TRUE(finishes(player->play()));
    const auto playingID = *snapshot().currentID;
    EXPECT_EQ(currentSongID(), songs[2].id.rawValue());

    player->queue().remove({0, 4});
    EXPECT_EQ(*snapshot().currentID, playingID);
    ASSERT_EQ(player->queue().entries().size(), 3u);
    player->queue().move({2}, 0);
    EXPECT_EQ(*snapshot().currentID, playingID);
    EXPECT_EQ(player->queue().entries()[0].song()->id, songs[3].id);
    EXPECT_EQ(player->state().playbackStatus(), Status::playing);

    // Removing the playing entry plays the one after it.
    player->queue().remove({*player->queue().indexOf(playingID)});
    ASSERT_TRUE(waitForSong(player->queue().entries().back().song()->id.rawValue()));

    player->stop();
    player->queue().setEntries({});
    EXPECT_EQ(player->state().playbackStatus(), Status::stopped);
    EXPECT_TRUE(player->queue().entries().empty());
    EXPECT_FALSE(player->queue().currentEntry());
    EXPECT_EQ(player->playbackTime(), 0.0);
}

TEST_F(ApplicationMusicPlayerTest, StationPlaysOneSongAfterAnother) {
    const Station station{MusicItemID("ra.personal"), "Personal Station", std::nullopt};
    const auto firstSong =
        PlaybackAssetRequest(PlaybackAssetRequest::ItemKind::station, station.id, 0).response();
    player->setQueue(station);
    ASSERT_TRUE(finishes(player->play()));
    ASSERT_EQ(player->state().playbackStatus(), Status::playing);
    ASSERT_EQ(player->queue().entries().size(), 1u);
    EXPECT_FALSE(player->queue().entries()[0].song());

    seekNearEnd(*firstSong.front().song.duration);
    const auto askedForSecondSong = [&] {
        const auto targets = service->requestedTargets();
        return std::any_of(targets.begin(), targets.end(),
                           [](const std::string& target) { return target.ends_with("position=1"); });
    };
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return askedForSecondSong() && player->playbackTime() > 0.0 && player->playbackTime() < 3.0; },
        8000));
    EXPECT_EQ(player->state().playbackStatus(), Status::playing);
}

TEST_F(ApplicationMusicPlayerTest, PlaylistBecomesItsSongsWhenPrepared) {
    player->setQueue(Playlist{MusicItemID("pl.mix-1"), "Discovery Mix", std::nullopt});
    EXPECT_TRUE(player->queue().entries().empty());
    const auto prepared = player->prepareToPlay();
    ASSERT_TRUE(finishes(prepared));
    ASSERT_EQ(failureOf(prepared), nullptr);
    EXPECT_EQ(player->queue().entries().size(), 15u);
    EXPECT_TRUE(player->isPreparedToPlay());
    EXPECT_EQ(player->state().playbackStatus(), Status::stopped);
}

TEST_F(ApplicationMusicPlayerTest, EveryChangeIsAnnouncedBeforeItIsMade) {
    std::vector<Snapshot> announced;
    QObject::connect(&player->state(), &MusicPlayerState::objectWillChange,
                     [&] { announced.push_back(snapshot()); });
    QObject::connect(&player->queue(), &MusicPlayerQueue::objectWillChange,
                     [&] { announced.push_back(snapshot()); });
    const auto expectAnnounced = [&](const char* what, const std::function<void()>& change) {
        announced.clear();
        const Snapshot before = snapshot();
        change();
        if (snapshot() != before) {
            ASSERT_FALSE(announced.empty()) << what;
            EXPECT_EQ(announced.front(), before) << what;
        }
    };
    const auto songs = catalogSongs(library(), 4, 30);
    expectAnnounced("set queue", [&] { player->setQueue(songs); });
    expectAnnounced("play", [&] { ASSERT_TRUE(finishes(player->play())); });
    expectAnnounced("repeat", [&] { player->state().setRepeatMode(MusicPlayerRepeatMode::all); });
    expectAnnounced("shuffle", [&] { player->state().setShuffleMode(MusicPlayerShuffleMode::songs); });
    expectAnnounced("skip", [&] { ASSERT_TRUE(finishes(player->skipToNextEntry())); });
    expectAnnounced("choose", [&] { player->queue().setCurrentEntry(player->queue().entries()[3].id); });
    expectAnnounced("move", [&] { player->queue().move({0}, 4); });
    expectAnnounced("remove", [&] { player->queue().remove({0}); });
    expectAnnounced("pause", [&] { player->pause(); });
    expectAnnounced("empty", [&] { player->queue().setEntries({}); });
    EXPECT_FALSE(snapshot().currentID);
}

TEST_F(ApplicationMusicPlayerTest, PlayThatCannotStartFailsAndDoesNotClaimToPlay) {
    player->setQueue(
        {Song{MusicItemID("no-such-song"), "Nothing", "", std::nullopt, 10.0, std::nullopt, std::nullopt}});
    const auto unknown = player->play();
    ASSERT_TRUE(finishes(unknown));
    try {
        std::rethrow_exception(failureOf(unknown));
    } catch (const MusicDataRequest::Error& error) {
        EXPECT_EQ(error.status(), 404);
    } catch (...) {
        ADD_FAILURE() << "an unknown song fails as the service's answer";
    }
    EXPECT_EQ(player->state().playbackStatus(), Status::stopped);

    service->injectFault(service->requestedTargets().size() + 1,
                         DemoService::DemoFault::errorAnswer(403, 40300));
    player->setQueue(catalogSongs(library(), 1));
    const auto refused = player->play();
    ASSERT_TRUE(finishes(refused));
    EXPECT_NE(failureOf(refused), nullptr);
    EXPECT_NE(player->state().playbackStatus(), Status::playing);

    player->setQueue(std::vector<Song>{});
    const auto empty = player->play();
    ASSERT_TRUE(finishes(empty));
    try {
        std::rethrow_exception(failureOf(empty));
    } catch (const MusicPlayerError& error) {
        EXPECT_EQ(error.code(), MusicPlayerError::Code::emptyQueue);
    } catch (...) {
        ADD_FAILURE() << "an empty queue fails as the player's error";
    }
}

TEST_F(ApplicationMusicPlayerTest, SongsPlayHoweverLateTheirAudioStarts) {
    using std::chrono::milliseconds;
    DemoService::Testing::DelayingRelay relay(
        DemoService::Testing::DelayingRelay::portOf(service->baseURL()));
    auto configuration = service->configuration();
    configuration.apiBase = relay.baseURL();
    ServiceConfiguration::setCurrent(configuration);
    // One song after another, as a listener picks them: the player has streamed before each new start.
    const auto songs = catalogSongs(library(), 6, 40);
    const std::vector<milliseconds> delays{milliseconds(200), milliseconds(1000), milliseconds(50),
                                           milliseconds(200), milliseconds(1000), milliseconds(300)};
    for (std::size_t index = 0; index < songs.size(); ++index) {
        SCOPED_TRACE(delays[index].count());
        relay.delay("/audio/", delays[index]);
        player->setQueue({songs[index]});
        QElapsedTimer started;
        started.start();
        const auto playing = player->play();
        ASSERT_TRUE(finishes(playing, 15000));
        EXPECT_EQ(describe(failureOf(playing)), "");
        EXPECT_GE(started.elapsed(), delays[index].count()) << "the audio came through the relay";
        EXPECT_EQ(player->state().playbackStatus(), Status::playing);
        EXPECT_TRUE(QTest::qWaitFor([&] { return player->playbackTime() > 0.3; }, 5000));
    }
}

} // namespace
} // namespace MusicKit

int main(int argc, char** argv) {
    MusicKit::Testing::useSilentAudio();
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
