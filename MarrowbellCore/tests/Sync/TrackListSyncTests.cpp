#include "Remote/RemoteSong.h"
#include "SyncEngine/RelationRebuild.h"
#include "SyncTestSupport.h"

#include <Foundation/CancellationError.h>
#include <algorithm>
#include <chrono>
#include <thread>

namespace MarrowbellCore {
namespace {

using DemoService::DemoFault;
using Strings = std::vector<std::string>;

template <class Record> Strings identifiersOf(const std::vector<Record>& records) {
    Strings identifiers;
    for (const auto& record : records) {
        identifiers.push_back(record.identifier);
    }
    return identifiers;
}

RemoteSong remoteSong(const std::string& id, Strings albumIDs, Strings artistIDs = {}) {
    RemoteSong song;
    song.id = id;
    RemoteSong::Relationships relationships;
    RemoteSong::Relationships::Resource albums;
    albums.data.emplace();
    for (auto& album : albumIDs) {
        albums.data->push_back({album});
    }
    RemoteSong::Relationships::Resource artists;
    artists.data.emplace();
    for (auto& artist : artistIDs) {
        artists.data->push_back({artist});
    }
    relationships.albums = albums;
    relationships.artists = artists;
    song.relationships = relationships;
    return song;
}

SongMemberships membershipsOf(const std::vector<RemoteSong>& songs) {
    SongMemberships memberships;
    for (const auto& song : songs) {
        memberships.append(song);
    }
    return memberships;
}

class TrackListSyncTest : public Testing::SyncFixture {
protected:
    IncomingSong song(const std::string& id, std::optional<std::int64_t> track,
                      std::optional<std::string> album = {}) {
        IncomingSong incoming;
        incoming.identifier = id;
        incoming.title = id;
        incoming.trackNumber = track;
        incoming.albumTitle = std::move(album);
        return incoming;
    }
    Strings albumOrder(const std::string& albumID) {
        return query(
            "SELECT Songs.identifier FROM Songs JOIN AlbumSongs ON Songs.pk = AlbumSongs.song JOIN Albums ON "
            "Albums.pk = AlbumSongs.album WHERE Albums.identifier = '" +
            albumID + "' ORDER BY AlbumSongs.sortOrder");
    }
    template <class Record, class Pick> Record stored(const std::vector<Record>& records, Pick pick) {
        return *std::find_if(records.begin(), records.end(), pick);
    }
    const DemoService::DemoLibrary::Artist& artistWithMostAlbums() const {
        return *std::max_element(
            library().artists.begin(), library().artists.end(),
            [](const auto& lhs, const auto& rhs) { return lhs.albums.size() < rhs.albums.size(); });
    }
    LocalArtist storedArtist(const DemoService::DemoLibrary::Artist& demoArtist) {
        return stored(store->allArtists(),
                      [&](const LocalArtist& a) { return a.identifier == demoArtist.id; });
    }
};

TEST_F(TrackListSyncTest, RebuildOrdersByTrackNumberStablyAndSkipsUnknownOwners) {
    store->insert(std::vector{IncomingAlbum{"l.1", "Album"}});
    store->insert(std::vector{song("three", 3), song("none", std::nullopt), song("one", 1), song("tieA", 2),
                              song("tieB", 2)});
    const std::vector fetched{remoteSong("three", {"l.1"}), remoteSong("none", {"l.1", "l.unknown"}),
                              remoteSong("one", {"l.1"}),   remoteSong("tieB", {"l.1"}),
                              remoteSong("tieA", {"l.1"}),  remoteSong("missing", {"l.1"})};
    RelationRebuild::rebuildAlbumSongs(*store, membershipsOf(fetched), store->allSongTrackMetadata());
    EXPECT_EQ(albumOrder("l.1"), (Strings{"none", "one", "tieB", "tieA", "three"}));

    RelationRebuild::rebuildAlbumSongs(*store, membershipsOf(fetched), store->allSongTrackMetadata());
    EXPECT_EQ(count("AlbumSongs"), 5u) << "a rerun rewrites the same rows";
}

TEST_F(TrackListSyncTest, ArtistOrderPutsUntitledAlbumsFirstAndCapitalsBeforeSmallLetters) {
    store->insert(std::vector{IncomingArtist{"r.1", "Artist"}});
    store->insert(
        std::vector{song("a2", 2, "apple"), song("z1", 1, "Zebra"), song("n", 9), song("a1", 1, "apple")});
    RelationRebuild::rebuildArtistSongs(
        *store,
        membershipsOf({remoteSong("a2", {}, {"r.1"}), remoteSong("z1", {}, {"r.1"}),
                       remoteSong("n", {}, {"r.1"}), remoteSong("a1", {}, {"r.1"})}),
        store->allSongTrackMetadata());
    EXPECT_EQ(identifiersOf(store->songs(store->allArtists()[0])), (Strings{"n", "z1", "a1", "a2"}));
}

TEST_F(TrackListSyncTest, APlaylistKeepsTheServicesOrderAndStoresPassiveSongs) {
    engine().syncPlaylists();
    const auto& demoPlaylist = *std::find_if(library().playlists.begin(), library().playlists.end(),
                                             [](const auto& playlist) { return playlist.tracks.size() > 2; });
    const auto playlist = stored(store->allPlaylists(),
                                 [&](const LocalPlaylist& p) { return p.identifier == demoPlaylist.id; });
    const auto songs = engine().syncRemoteTracks(playlist);
    ASSERT_EQ(songs.size(), demoPlaylist.tracks.size());
    for (std::size_t i = 0; i < songs.size(); ++i) {
        EXPECT_EQ(songs[i].identifier, library().songs[demoPlaylist.tracks[i]].id);
        EXPECT_TRUE(songs[i].isPassive);
    }
    EXPECT_FALSE(songs[0].order) << "track lists bring no order value";
    EXPECT_TRUE(store
                    ->allLibrarySongs(SortDescriptor<LocalSong>(
                        [](const LocalSong&, const LocalSong&) { return std::weak_ordering::equivalent; }))
                    .empty());

    engine().syncSongs();
    EXPECT_EQ(count("Songs"), library().songs.size());
    EXPECT_EQ(query("SELECT count(*) FROM Songs WHERE isPassive = 1"), Strings{"0"})
        << "library songs are not passive";
}

TEST_F(TrackListSyncTest, AnAlbumComesBackInTrackOrderAndMakesItsSongsLibrarySongs) {
    engine().syncAlbums();
    const auto& demoAlbum = library().albums.front();
    const auto album =
        stored(store->allAlbums(), [&](const LocalAlbum& a) { return a.identifier == demoAlbum.id; });
    const auto songs = engine().syncRemoteTracks(album);
    ASSERT_EQ(songs.size(), demoAlbum.songs.size());
    EXPECT_TRUE(std::is_sorted(songs.begin(), songs.end(), [](const LocalSong& lhs, const LocalSong& rhs) {
        return lhs.trackNumber.value_or(0) < rhs.trackNumber.value_or(0);
    }));
    EXPECT_FALSE(songs[0].isPassive);
    EXPECT_EQ(albumOrder(demoAlbum.id), identifiersOf(songs));
}

TEST_F(TrackListSyncTest, AContainerWithoutTracksGivesAnEmptyList) {
    engine().syncPlaylists();
    const auto playlist = store->allPlaylists()[0];
    service->reset();
    service->injectFault(1, DemoFault::errorAnswer(404, 40403));
    EXPECT_TRUE(engine().syncRemoteTracks(playlist).empty());
    EXPECT_EQ(count("PlaylistSongs"), 0u);
}

TEST_F(TrackListSyncTest, AnArtistCombinesItsAlbumsAndKeepsTheStoredSongsOfOneThatFails) {
    engine().syncArtists();
    const auto& demoArtist = artistWithMostAlbums();
    ASSERT_GE(demoArtist.albums.size(), 2u);
    const auto artist = storedArtist(demoArtist);
    std::size_t total = 0;
    for (const auto album : demoArtist.albums) {
        total += library().albums[album].songs.size();
    }
    ASSERT_EQ(engine().syncRemoteTracks(artist).size(), total);

    service->reset();
    service->injectFault(2, DemoFault::errorAnswer(500, 50000));
    const auto songs = engine().syncRemoteTracks(artist);
    EXPECT_EQ(songs.size(), total) << "the album that failed keeps its songs in the artist's list";
    const auto log = Testing::coreLogEntries();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].format, "Failed to sync remote tracks: %@");
    EXPECT_EQ(identifiersOf(store->songs(artist)), identifiersOf(songs));
}

TEST_F(TrackListSyncTest, ASongThatLeftAContainerLeavesItsStoredListAndStaysStored) {
    engine().syncPlaylists();
    engine().syncAlbums();
    engine().syncArtists();
    const auto& demoPlaylist = *std::find_if(library().playlists.begin(), library().playlists.end(),
                                             [](const auto& playlist) { return playlist.tracks.size() > 2; });
    const auto& demoArtist = library().artists.front();
    const auto& demoAlbum = library().albums[demoArtist.albums.front()];
    const auto playlist = stored(store->allPlaylists(),
                                 [&](const LocalPlaylist& p) { return p.identifier == demoPlaylist.id; });
    const auto artist =
        stored(store->allArtists(), [&](const LocalArtist& a) { return a.identifier == demoArtist.id; });
    const auto album =
        stored(store->allAlbums(), [&](const LocalAlbum& a) { return a.identifier == demoAlbum.id; });
    // What an earlier sync stored before the song left all three on the service: first in each list.
    const auto gone = store->insert(std::vector{song("i.gone", 1)});
    store->insert(gone, playlist);
    store->insert(gone, album);
    store->insert(gone, artist);

    // A song listed twice is stored once, at its later position.
    auto playlistOrder = identifiersOf(engine().syncRemoteTracks(playlist));
    for (auto song = playlistOrder.begin(); song != playlistOrder.end();) {
        song = std::find(song + 1, playlistOrder.end(), *song) != playlistOrder.end()
                   ? playlistOrder.erase(song)
                   : song + 1;
    }
    EXPECT_EQ(identifiersOf(store->songs(playlist)), playlistOrder);
    EXPECT_EQ(identifiersOf(store->songs(artist)), identifiersOf(engine().syncRemoteTracks(artist)));
    EXPECT_EQ(albumOrder(demoAlbum.id), identifiersOf(store->songs(album)));
    EXPECT_EQ(store->songs(album).size(), demoAlbum.songs.size());
    EXPECT_EQ(query("SELECT count(*) FROM Songs WHERE identifier = 'i.gone'"), Strings{"1"})
        << "other lists and the library may still hold it";
}

TEST_F(TrackListSyncTest, ACancelledTrackSyncGivesNoList) {
    engine().syncPlaylists();
    const auto playlist = store->allPlaylists()[0];
    std::stop_source stop;
    stop.request_stop();
    EXPECT_THROW(engine().syncRemoteTracks(playlist, stop.get_token()), Foundation::CancellationError);

    // An artist whose sync is stopped while one of its albums loads keeps its stored list.
    engine().syncArtists();
    const auto& demoArtist = artistWithMostAlbums();
    const auto artist = storedArtist(demoArtist);
    const auto before = identifiersOf(engine().syncRemoteTracks(artist));
    service->reset();
    service->injectFault(2, DemoFault::delayed(std::chrono::seconds(30)));
    std::stop_source stopArtist;
    std::jthread stopper([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (service->requestedTargets().size() <= demoArtist.albums.size() &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        stopArtist.request_stop();
    });
    EXPECT_THROW(engine().syncRemoteTracks(artist, stopArtist.get_token()), Foundation::CancellationError);
    EXPECT_EQ(identifiersOf(store->songs(artist)), before);
    EXPECT_TRUE(Testing::coreLogEntries().empty()) << "a stop is no album's failure";
}

} // namespace
} // namespace MarrowbellCore
