#include <DemoService/DemoServiceTest.h>
#include <MarrowbellCore/Requests/LibraryItemLookup.h>
#include <MusicKit/MusicDataRequest.h>

namespace MarrowbellCore {
namespace {

using MusicKit::MusicItemID;

class LibraryItemLookupTest : public DemoService::Testing::DemoServiceTest<120, 3> {};

/// The error that `lookup` fails with, or nothing.
template <class Error, class Lookup> std::optional<Error> lookupError(Lookup lookup) {
    try {
        lookup();
    } catch (const Error& error) {
        return error;
    }
    return std::nullopt;
}

TEST_F(LibraryItemLookupTest, FindsLibraryItemsByIdentifier) {
    const auto& playlist = library().playlists[1];
    EXPECT_EQ(playlistWith(MusicItemID(playlist.id)).name, playlist.name);
    const auto& album = library().albums[3];
    const auto foundAlbum = albumWith(MusicItemID(album.id));
    EXPECT_EQ(foundAlbum.id, MusicItemID(album.id));
    EXPECT_EQ(foundAlbum.title, library().catalogAlbums[album.catalogAlbum].name);
    const auto& artist = library().artists[2];
    EXPECT_EQ(artistWith(MusicItemID(artist.id)).name, library().catalogArtists[artist.catalogArtist].name);
}

TEST_F(LibraryItemLookupTest, AnAbsentItemFailsWithItsKindsNotFound) {
    const auto playlistError = lookupError<PlaylistError>([] { playlistWith(MusicItemID("p.none")); });
    ASSERT_TRUE(playlistError);
    EXPECT_EQ(*playlistError, PlaylistError::notFound());
    EXPECT_EQ(std::hash<PlaylistError>{}(*playlistError),
              std::hash<PlaylistError>{}(PlaylistError::notFound()));
    const std::string albumID = library().albums[0].id;
    EXPECT_TRUE(lookupError<ArtistError>([&] { artistWith(MusicItemID(albumID)); }));
    EXPECT_TRUE(lookupError<AlbumError>([] { albumWith(MusicItemID("l.none&ids=x")); }));
    EXPECT_EQ(lookupError<AlbumError>([] { albumWith(MusicItemID("")); }), AlbumError::notFound());
}

TEST_F(LibraryItemLookupTest, AServiceErrorReachesTheCallerUnchanged) {
    service->injectFault(1, DemoService::DemoFault::errorAnswer(401, 40100));
    const auto error = lookupError<MusicKit::MusicDataRequest::Error>(
        [&] { albumWith(MusicItemID(library().albums[0].id)); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 40100);
    EXPECT_EQ(error->status(), 401);
}

} // namespace
} // namespace MarrowbellCore
