#include "SyncTestSupport.h"

#include <Foundation/CancellationError.h>
#include <MarrowbellCore/Sync/IncompleteListingError.h>
#include <MusicKit/MusicDataRequest.h>
#include <algorithm>
#include <set>

namespace MarrowbellCore {
namespace {

using DemoService::DemoFault;
using Strings = std::vector<std::string>;

const Strings allFourNotifications{"playlistSyncCompleted", "albumSyncCompleted", "artistSyncCompleted",
                                   "songSyncCompleted"};

std::size_t pagesOf(std::size_t count) {
    return std::max<std::size_t>(1, (count + 99) / 100);
}

class FullSyncTest : public Testing::SyncFixture {
protected:
    void syncAll() {
        const auto progress = Foundation::Progress::make(100);
        engine().syncAll(*progress);
    }
    /// The number of the first request of the artist listing: after authorization, playlists and albums.
    std::size_t firstArtistRequest() const {
        return 2 + pagesOf(library().playlists.size()) + pagesOf(library().albums.size());
    }
};

TEST_F(FullSyncTest, FillsAnEmptyStoreWithTheWholeLibrary) {
    Testing::NotificationRecorder notifications;
    syncAll();
    EXPECT_EQ(count("Songs"), library().songs.size());
    EXPECT_EQ(count("Albums"), library().albums.size());
    EXPECT_EQ(count("Artists"), library().artists.size());
    EXPECT_EQ(count("Playlists"), library().playlists.size());
    EXPECT_EQ(count("AlbumSongs"), library().songs.size()) << "every song belongs to its one album";
    EXPECT_GE(count("ArtistSongs"), library().songs.size());
    EXPECT_EQ(query("SELECT count(*) FROM Songs WHERE isPassive = 0 AND CAST(substr(playParameters, 1, 8) AS "
                    "TEXT) = 'bplist00'"),
              Strings{std::to_string(library().songs.size())});
    EXPECT_EQ(notifications.names(), allFourNotifications);

    // Order values fall by one per song in the service's newest-first order.
    const auto orders = query("SELECT sortOrder FROM Songs ORDER BY sortOrder DESC");
    for (std::size_t i = 1; i < orders.size(); ++i) {
        EXPECT_EQ(std::stoll(orders[i - 1]) - std::stoll(orders[i]), 1);
    }
}

TEST_F(FullSyncTest, AlbumSongsFollowTrackOrder) {
    syncAll();
    const auto& album = library().albums.front();
    const auto stored = store->allAlbums();
    const auto found = std::find_if(stored.begin(), stored.end(),
                                    [&](const LocalAlbum& a) { return a.identifier == album.id; });
    ASSERT_NE(found, stored.end());
    const auto songs = store->songs(*found);
    ASSERT_EQ(songs.size(), album.songs.size());
    for (std::size_t i = 0; i < songs.size(); ++i) {
        EXPECT_EQ(songs[i].identifier, library().songs[album.songs[i]].id);
    }
}

TEST_F(FullSyncTest, FollowsAChangedLibrary) {
    syncAll();
    const auto library = store->allSongIdentifiers();
    // Change the store against the service: a song and an album it no longer has, a song and an album
    // missing, a stale title, and a library song the store knows only from a track list.
    const auto& demoSongs = this->library().songs;
    query("INSERT INTO Songs (identifier, title, isPassive) VALUES ('i.gone', 'Gone', 0)");
    query("INSERT INTO Albums (identifier, title) VALUES ('l.gone', 'Gone')");
    query("DELETE FROM Songs WHERE identifier = '" + demoSongs[0].id + "'");
    query("DELETE FROM Albums WHERE identifier = '" + this->library().albums[0].id + "'");
    query("UPDATE Songs SET title = 'Stale' WHERE identifier = '" + demoSongs[1].id + "'");
    query("UPDATE Songs SET isPassive = 1 WHERE identifier = '" + demoSongs[2].id + "'");

    syncAll();
    EXPECT_EQ(store->allSongIdentifiers(), library);
    EXPECT_EQ(count("Albums"), this->library().albums.size());
    EXPECT_EQ(query("SELECT count(*) FROM Albums WHERE identifier = 'l.gone'"), Strings{"0"});
    EXPECT_EQ(query("SELECT title FROM Songs WHERE identifier = '" + demoSongs[1].id + "'"),
              Strings{this->library().catalogSongs[demoSongs[1].catalogSong].name});
    EXPECT_EQ(query("SELECT isPassive FROM Songs WHERE identifier = '" + demoSongs[2].id + "'"),
              Strings{"0"});
}

TEST_F(FullSyncTest, ReplacesOneLibraryWithAnother) {
    syncAll();
    switchService(80);
    syncAll();
    LocalDatabase::IdentifierSet expected;
    for (const auto& song : library().songs) {
        expected.insert(song.id);
    }
    EXPECT_EQ(store->allSongIdentifiers(), expected);
    EXPECT_EQ(count("Playlists"), library().playlists.size());
    EXPECT_EQ(count("Artists"), library().artists.size());
}

TEST_F(FullSyncTest, ChangedLibrariesLeaveNoSongListRowsOfRemovedItems) {
    syncAll();
    switchService(80);
    syncAll();
    switchService(150);
    syncAll();
    EXPECT_EQ(
        count("AlbumSongs WHERE song NOT IN (SELECT pk FROM Songs) OR album NOT IN (SELECT pk FROM Albums)"),
        0u);
    EXPECT_EQ(
        count(
            "ArtistSongs WHERE song NOT IN (SELECT pk FROM Songs) OR artist NOT IN (SELECT pk FROM Artists)"),
        0u);
    EXPECT_GT(count("AlbumSongs"), 0u);
}

TEST_F(FullSyncTest, ReportsWeightedProgressThroughItsChildren) {
    const auto progress = Foundation::Progress::make(100);
    std::vector<double> fractions;
    progress->addObserver(
        [&](const Foundation::Progress& changed) { fractions.push_back(changed.fractionCompleted()); });
    engine().syncAll(*progress);
    EXPECT_EQ(progress->completedUnitCount(), 100);
    EXPECT_DOUBLE_EQ(fractions.back(), 1.0);
    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
    // The songs weigh 60: before their first page only the other 40 units can be done.
    EXPECT_TRUE(std::find(fractions.begin(), fractions.end(), 0.4) != fractions.end());
}

TEST_F(FullSyncTest, AFailingStepKeepsEarlierStepsAndPostsNothing) {
    Testing::NotificationRecorder notifications;
    service->injectFault(firstArtistRequest(), DemoFault::errorAnswer(500, 50000));
    const auto progress = Foundation::Progress::make(100);
    try {
        engine().syncAll(*progress);
        FAIL() << "the service error must end the sync";
    } catch (const MusicKit::MusicDataRequest::Error& error) {
        EXPECT_EQ(error.code(), 50000);
    }
    EXPECT_EQ(count("Playlists"), library().playlists.size());
    EXPECT_EQ(count("Albums"), library().albums.size());
    EXPECT_EQ(count("Artists"), 0u);
    EXPECT_EQ(count("Songs"), 0u);
    EXPECT_TRUE(notifications.names().empty());
}

TEST_F(FullSyncTest, ACancelledSyncStoresNothing) {
    Testing::NotificationRecorder notifications;
    std::stop_source stop;
    stop.request_stop();
    const auto progress = Foundation::Progress::make(100);
    EXPECT_THROW(engine().syncAll(*progress, stop.get_token()), Foundation::CancellationError);
    EXPECT_EQ(service->requestedTargets(), Strings{"/v1/me/storefront"}) << "only authorization was asked";
    EXPECT_EQ(count("Playlists"), 0u);
    EXPECT_TRUE(notifications.names().empty());
}

TEST_F(FullSyncTest, SingleKindSyncsPostOnlyTheirOwnName) {
    Testing::NotificationRecorder notifications;
    engine().syncAlbums();
    engine().syncSongs();
    EXPECT_EQ(notifications.names(), (Strings{"albumSyncCompleted", "songSyncCompleted"}));
    EXPECT_EQ(count("AlbumSongs"), library().songs.size()) << "the song sync rebuilds the relations too";
    EXPECT_EQ(count("Playlists"), 0u);
}

TEST_F(FullSyncTest, TwoEnginesMaySyncOneStoreAtOnce) {
    std::jthread other([&] { SyncEngine(store).syncSongs(); });
    syncAll();
    other.join();
    EXPECT_EQ(count("Songs"), library().songs.size());
    EXPECT_EQ(count("AlbumSongs"), library().songs.size());
}

class BrokenOffListingTest : public Testing::SyncFixture {
protected:
    BrokenOffListingTest()
        : SyncFixture(250) {}
};

TEST_F(BrokenOffListingTest, ASongListingBrokenOffRemovesNothing) {
    const auto progress = Foundation::Progress::make(100);
    SyncEngine(store).syncAll(*progress);
    service->reset();
    // The second page of songs announces more but holds none.
    service->injectFault(3, DemoService::DemoFault::emptyPageWithNext());
    EXPECT_THROW(SyncEngine(store).syncSongs(), IncompleteListingError);
    EXPECT_EQ(count("Songs"), library().songs.size()) << "no song beyond the break was removed";

    // The first page of songs comes without "next": the last page, although its total says more follow.
    service->reset();
    service->injectFault(1, DemoService::DemoFault::pageWithoutNext());
    EXPECT_THROW(SyncEngine(store).syncSongs(), IncompleteListingError);
    EXPECT_EQ(count("Songs"), library().songs.size()) << "no song beyond the cut was removed";
}

} // namespace
} // namespace MarrowbellCore
