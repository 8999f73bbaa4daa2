#include "Model/SongShareLink.h"
#include "ModelPlaybackFixture.h"

#include <MarrowbellCore/Store/LocalDatabase.h>

namespace Marrowbell::Testing {
namespace {

class LibraryStateTest : public ModelPlaybackTest {
protected:
    void SetUp() override {
        ModelPlaybackTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(syncLibrarySongs());
        service->reset();
    }

    std::optional<QUrl> linkFor(const MusicKit::Song& song) const {
        return songShareLink(QString::fromStdString(environment->service().configuration().apiBase),
                             QString::fromStdString(song.id.rawValue()));
    }

    bool storeHolds(const MusicKit::Song& song) {
        auto lookup = environment->store().run([song](MarrowbellCore::LocalDatabase& store) {
            return store.hasSong(song.title, song.artistName, song.albumTitle);
        });
        return finishes(lookup) && lookup.result();
    }
};

TEST_F(LibraryStateTest, ASongOutsideTheLibraryCanBeAddedAndShared) {
    const auto outside = songNotInLibrary();
    player->setQueue({outside});
    model->refreshPlayerState();
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->canAddToLibrary.get(); }, 5000));
    ASSERT_TRUE(model->shareLink.get());
    EXPECT_TRUE(model->shareLink.get()->path().endsWith(QStringLiteral("/us/song/") +
                                                        QString::fromStdString(outside.id.rawValue())));

    player->setQueue({songInLibrary()});
    model->refreshPlayerState();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !model->canAddToLibrary.get(); }, 5000));
}

TEST_F(LibraryStateTest, ASlowCheckForTheEarlierSongLeavesTheCurrentSongAlone) {
    const auto earlier = songNotInLibrary();
    const auto current = songInLibrary();
    auto firstGate = blockStore();
    player->setQueue({earlier});
    model->refreshPlayerState();
    // The earlier song's check is queued behind the first gate, the current song's behind the second.
    auto earlierCheckDone = environment->store().run([](MarrowbellCore::LocalDatabase&) {});
    auto secondGate = blockStore();
    player->setQueue({current});
    model->refreshPlayerState();
    EXPECT_EQ(model->shareLink.get(), linkFor(current));

    firstGate->set_value();
    ASSERT_TRUE(finishes(earlierCheckDone));
    QTest::qWait(100);
    EXPECT_FALSE(model->canAddToLibrary.get()) << "the earlier song's answer was applied to the current one";
    EXPECT_EQ(model->shareLink.get(), linkFor(current));

    secondGate->set_value();
    auto currentCheckDone = environment->store().run([](MarrowbellCore::LocalDatabase&) {});
    ASSERT_TRUE(finishes(currentCheckDone));
    QTest::qWait(100);
    EXPECT_FALSE(model->canAddToLibrary.get());
    EXPECT_EQ(model->shareLink.get(), linkFor(current));
}

TEST_F(LibraryStateTest, AFailedStoreOffersNoAddAndStillSharesThePlayingSong) {
    const auto outside = songNotInLibrary();
    player->setQueue({outside});
    model->refreshPlayerState();
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->canAddToLibrary.get(); }, 5000));

    const auto failures = logCount("Failed to check the library for the playing song: %@");
    ASSERT_TRUE(finishes(environment->store().close()));
    const auto other = catalogSong(library().catalogSongs.size() - 2);
    player->setQueue({other});
    model->refreshPlayerState();
    EXPECT_EQ(model->shareLink.get(), linkFor(other));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model->canAddToLibrary.get(); }, 5000));
    EXPECT_EQ(logCount("Failed to check the library for the playing song: %@") - failures, 1u);
}

TEST_F(LibraryStateTest, AddingShowsTheToastAndTheSongArrivesWithTheInsertOnlySync) {
    EXPECT_TRUE(finishes(model->addPlayingSongToLibrary()));
    EXPECT_TRUE(service->requestedTargets().empty()) << "nothing plays, nothing is added";

    const auto outside = songNotInLibrary();
    player->setQueue({outside});
    model->refreshPlayerState();
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->canAddToLibrary.get(); }, 5000));
    ASSERT_TRUE(finishes(model->addPlayingSongToLibrary()));
    EXPECT_TRUE(model->showAddToast.get());
    EXPECT_FALSE(model->canAddToLibrary.get());
    EXPECT_FALSE(storeHolds(outside)) << "the store learns of it only through the sync";

    // What the main view runs once the toast has gone.
    SharedStore& store = environment->store();
    auto inserts = environment->background().run([&store](std::stop_token stopToken) {
        MarrowbellCore::SyncEngine(store.database()).syncInserts(stopToken);
    });
    ASSERT_TRUE(finishes(inserts));
    EXPECT_TRUE(storeHolds(outside));
    model->refreshPlayerState();
    QTest::qWait(100);
    EXPECT_FALSE(model->canAddToLibrary.get());
}

TEST_F(LibraryStateTest, TheEmptyPlaylistSyncFillsPlaylistsThatHaveNoSongs) {
    SharedStore& store = environment->store();
    auto playlists = environment->background().run([&store](std::stop_token stopToken) {
        MarrowbellCore::SyncEngine(store.database()).syncPlaylists(stopToken);
    });
    ASSERT_TRUE(finishes(playlists));
    ASSERT_TRUE(finishes(model->syncEmptyPlaylistContents()));

    auto songCounts = environment->store().run([](MarrowbellCore::LocalDatabase& database) {
        std::size_t filled = 0;
        for (const auto& playlist : database.allPlaylists()) {
            filled += database.songs(playlist).empty() ? 0 : 1;
        }
        return filled;
    });
    ASSERT_TRUE(finishes(songCounts));
    const auto expected = std::count_if(library().playlists.begin(), library().playlists.end(),
                                        [](const auto& playlist) { return !playlist.tracks.empty(); });
    EXPECT_EQ(songCounts.result(), static_cast<std::size_t>(expected));
    EXPECT_FALSE(service->requestedTargets().empty());
}

TEST(SongShareLink, KeepsTheIdentifierOneSegmentAndDropsTheAPILabel) {
    EXPECT_EQ(songShareLink(QStringLiteral("https://api.example.com"), QStringLiteral("123"))->toString(),
              QStringLiteral("https://example.com/us/song/123"));
    EXPECT_EQ(songShareLink(QStringLiteral("http://127.0.0.1:8080"), QStringLiteral("a/../b?c"))->toString(),
              QStringLiteral("http://127.0.0.1:8080/us/song/a%2F..%2Fb%3Fc"));
    EXPECT_FALSE(songShareLink(QStringLiteral("not a url"), QStringLiteral("1")));
    EXPECT_FALSE(songShareLink(QStringLiteral("https://api.example.com"), QString()));
}

} // namespace
} // namespace Marrowbell::Testing
