#include "LibraryFetchTesting.h"
#include "Remote/RemoteAlbum.h"
#include "Remote/RemoteArtist.h"
#include "Remote/RemotePlaylist.h"
#include "Remote/RemoteSong.h"
#include "SyncEngine/LibraryFetch.h"

#include <MarrowbellCore/Sync/IncompleteListingError.h>
#include <MarrowbellCore/Sync/SyncEngine.h>
#include <algorithm>

using namespace MarrowbellCore;
using DemoService::DemoFault;
using MarrowbellCore::Testing::RecordedProgress;

namespace {

class LibraryFetchTests : public Testing::LibraryFetchTest {};

template <class Resource> std::vector<std::string> identifiers(const std::vector<Resource>& resources) {
    std::vector<std::string> ids;
    for (const auto& resource : resources) {
        ids.push_back(resource.id);
    }
    return ids;
}

std::vector<std::string> songIdentifiers(const DemoService::DemoLibrary& library,
                                         const std::vector<std::size_t>& songs) {
    std::vector<std::string> ids;
    for (const auto index : songs) {
        ids.push_back(library.songs[index].id);
    }
    return ids;
}

} // namespace

TEST_F(LibraryFetchTests, ListFetchesReadEveryPageInServiceOrderWithTheirExactURLs) {
    RecordedProgress progress;
    EXPECT_EQ(LibraryFetch::fetchPlaylists(true, *progress.progress).size(), library().playlists.size());
    EXPECT_EQ(LibraryFetch::fetchAlbums(true, *progress.progress).size(), library().albums.size());
    const auto artists = LibraryFetch::fetchArtists(true, *progress.progress);
    ASSERT_EQ(artists.size(), library().artists.size());
    EXPECT_TRUE(artists.front().relationships->catalog->data->front().attributes->name);

    const auto songs = LibraryFetch::fetchSongs(true, *progress.progress);
    ASSERT_EQ(songs.size(), 250u);
    EXPECT_EQ(songs.front().relationships->albums->data->size(), 1u);
    std::vector<std::size_t> newestFirst(library().songs.size());
    for (std::size_t i = 0; i < newestFirst.size(); ++i) {
        newestFirst[i] = i;
    }
    std::stable_sort(newestFirst.begin(), newestFirst.end(), [&](std::size_t lhs, std::size_t rhs) {
        return library().songs[lhs].dateAdded > library().songs[rhs].dateAdded;
    });
    EXPECT_EQ(identifiers(songs), songIdentifiers(library(), newestFirst));

    EXPECT_EQ(service->requestedTargets(),
              (std::vector<std::string>{
                  "/v1/me/library/playlists?include=artwork&limit=100&offset=0&sort=-dateAdded",
                  "/v1/me/library/albums?include=artwork&limit=100&offset=0&sort=-dateAdded",
                  "/v1/me/library/artists?limit=100&offset=0&include=catalog",
                  "/v1/me/library/songs?limit=100&offset=0&sort=-dateAdded&include=artists,albums",
                  "/v1/me/library/songs?limit=100&offset=100&sort=-dateAdded&include=artists,albums",
                  "/v1/me/library/songs?limit=100&offset=200&sort=-dateAdded&include=artists,albums",
              }));
}

TEST_F(LibraryFetchTests, ProgressIsTheRoundedShareOfTheFirstNonZeroTotalThenAHundred) {
    RecordedProgress plain;
    LibraryFetch::fetchSongs(true, *plain.progress);
    EXPECT_EQ(plain.values, (std::vector<std::int64_t>{40, 80, 100, 100}));

    service->reset();
    service->injectFault(1, DemoFault::changedTotal(300));
    RecordedProgress thirds;
    EXPECT_THROW(LibraryFetch::fetchSongs(true, *thirds.progress), IncompleteListingError)
        << "250 songs of the 300 announced";
    EXPECT_EQ(thirds.values, (std::vector<std::int64_t>{33, 67, 83}));

    service->reset();
    service->injectFault(1, DemoFault::changedTotal(0));
    service->injectFault(2, DemoFault::changedTotal(200));
    RecordedProgress lateTotal;
    LibraryFetch::fetchSongs(true, *lateTotal.progress);
    EXPECT_EQ(lateTotal.values, (std::vector<std::int64_t>{100, 125, 100}));
}

TEST_F(LibraryFetchTests, FirstPageOnlyMakesOneRequestAndStillEndsAtAHundred) {
    RecordedProgress progress;
    const auto songs = LibraryFetch::fetchSongs(false, *progress.progress);
    EXPECT_EQ(songs.size(), 100u);
    EXPECT_EQ(service->requestedTargets().size(), 1u);
    EXPECT_EQ(progress.values, (std::vector<std::int64_t>{40, 100}));
}

TEST_F(LibraryFetchTests, ContainerFetchesReadEveryPageOfTheirContainer) {
    const auto& longPlaylist = library().playlists[0];
    ASSERT_GT(longPlaylist.tracks.size(), 100u);
    const auto tracks = LibraryFetch::fetchTracks(LibraryFetch::PlaylistID{longPlaylist.id});
    EXPECT_EQ(identifiers(tracks), songIdentifiers(library(), longPlaylist.tracks));

    const auto& album = library().albums[1];
    EXPECT_EQ(identifiers(LibraryFetch::fetchTracks(LibraryFetch::AlbumID{album.id})),
              songIdentifiers(library(), album.songs));

    const auto& artist = library().artists[0];
    EXPECT_EQ(LibraryFetch::fetchAlbums(LibraryFetch::ArtistID{artist.id}).size(), artist.albums.size());

    const std::string playlistTracks =
        "/v1/me/library/playlists/" + longPlaylist.id + "/tracks?limit=100&offset=";
    EXPECT_EQ(
        service->requestedTargets(),
        (std::vector<std::string>{playlistTracks + "0", playlistTracks + "100",
                                  "/v1/me/library/albums/" + album.id + "/tracks?limit=100&offset=0",
                                  "/v1/me/library/artists/" + artist.id + "/albums?limit=100&offset=0"}));
}

TEST_F(LibraryFetchTests, NoRelatedResourcesEndsTrackListsWithWhatArrived) {
    const auto& emptyPlaylist = library().playlists[1];
    ASSERT_TRUE(emptyPlaylist.tracks.empty());
    EXPECT_TRUE(LibraryFetch::fetchTracks(LibraryFetch::PlaylistID{emptyPlaylist.id}).empty());

    service->injectFault(3, DemoFault::errorAnswer(404, 40403));
    EXPECT_EQ(LibraryFetch::fetchTracks(LibraryFetch::PlaylistID{library().playlists[0].id}).size(), 100u);

    service->injectFault(4, DemoFault::errorAnswer(404, 40403));
    EXPECT_TRUE(LibraryFetch::fetchTracks(LibraryFetch::AlbumID{library().albums[0].id}).empty());
}
