#include <DemoService/DemoServiceTest.h>
#include <Foundation/DecodingError.h>
#include <MusicKit/MusicCatalogSearchRequest.h>
#include <MusicKit/MusicLibraryRequest.h>
#include <MusicKit/ServiceConfiguration.h>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace MusicKit;
using DemoService::DemoFault;

namespace {

const std::vector<MusicCatalogSearchable> allKinds{
    MusicCatalogSearchable::playlist, MusicCatalogSearchable::album, MusicCatalogSearchable::artist,
    MusicCatalogSearchable::song};

class CatalogRequestTests : public DemoService::Testing::DemoServiceTest<200, 7> {
protected:
    static MusicCatalogSearchResponse search(const std::string& term, std::optional<int> limit = 25,
                                             bool includeTopResults = true) {
        MusicCatalogSearchRequest request(term, allKinds);
        request.limit = limit;
        request.includeTopResults = includeTopResults;
        return request.response();
    }

    static const DemoService::DemoLibrary& library() { return service->library(); }
};

template <class Item> std::vector<Item> libraryItems(const std::string& id) {
    MusicLibraryRequest<Item> request;
    request.filter(&Item::id, MusicItemID(id));
    return request.response().items;
}

} // namespace

TEST_F(CatalogRequestTests, TheTermTravelsPercentEncodedWithTheKindsLimitAndTopResults) {
    search("Rock 'n' Roll & Über+");
    search("echo", std::nullopt, false);
    EXPECT_EQ(
        service->requestedTargets(),
        (std::vector<std::string>{"/v1/catalog/us/search?term=Rock%20%27n%27%20Roll%20%26%20%C3%9Cber%2B"
                                  "&types=playlists,albums,artists,songs&limit=25&with=topResults",
                                  "/v1/catalog/us/search?term=echo&types=playlists,albums,artists,songs"}));
}

TEST_F(CatalogRequestTests, HitsOfEveryKindDecodeInTheServicesOrder) {
    const auto& catalogSong = library().catalogSongs[3];
    const auto& catalogAlbum = library().catalogAlbums[catalogSong.album];
    const auto response = search(catalogSong.name);
    ASSERT_FALSE(response.songs.empty());
    const Song& song = response.songs.front();
    EXPECT_EQ(song.title, catalogSong.name);
    EXPECT_EQ(song.albumTitle, catalogAlbum.name);
    EXPECT_EQ(song.artistName, library().catalogArtists[catalogAlbum.artist].name);
    EXPECT_EQ(song.duration, catalogSong.durationInMillis / 1000.0);
    ASSERT_TRUE(song.artwork && song.playParameters);
    EXPECT_EQ(song.artwork->urlTemplate(),
              service->baseURL() + "/artwork/" + catalogAlbum.id + "/{w}x{h}.png");
    EXPECT_EQ(song.playParameters->kind, "song");

    const auto& playlist = library().catalogPlaylists[0];
    const auto& artist = library().catalogArtists[1];
    EXPECT_EQ(search(playlist.name).playlists.front().name, playlist.name);
    EXPECT_EQ(search(artist.name).artists.front().name, artist.name);
    const auto albums = search(catalogAlbum.name).albums;
    ASSERT_FALSE(albums.empty());
    EXPECT_EQ(albums.front().title, catalogAlbum.name);
    EXPECT_EQ(albums.front().id.rawValue(), catalogAlbum.id);

    const auto home = search("home");
    EXPECT_EQ(home.songs.size(), 17u);
    EXPECT_EQ(home.songs[0].title, "Home") << "the service's order is kept";
    EXPECT_EQ(search("home", 4).songs.size(), 4u);
    EXPECT_EQ(search("home", std::nullopt).songs.size(), 5u) << "the service's default limit";
}

TEST_F(CatalogRequestTests, TopResultsComeOnlyWhenAskedFor) {
    const auto withTop = search("road");
    ASSERT_EQ(withTop.topResults.size(), 3u);
    EXPECT_TRUE(std::holds_alternative<Song>(withTop.topResults[0]));
    EXPECT_TRUE(std::holds_alternative<Album>(withTop.topResults[1]));
    EXPECT_EQ(std::get<Album>(withTop.topResults[1]), withTop.albums.front());
    EXPECT_TRUE(search("road", 25, false).topResults.empty());

    const auto nothing = search("no such name anywhere");
    EXPECT_TRUE(nothing.playlists.empty() && nothing.albums.empty() && nothing.artists.empty() &&
                nothing.songs.empty() && nothing.topResults.empty());
}

TEST_F(CatalogRequestTests, LibraryRequestsFilterOnTheIdentifier) {
    const auto& album = library().albums[2];
    const auto albums = libraryItems<Album>(album.id);
    ASSERT_EQ(albums.size(), 1u);
    EXPECT_EQ(albums[0].title, library().catalogAlbums[album.catalogAlbum].name);
    EXPECT_FALSE(albums[0].artistName.empty());
    EXPECT_EQ(libraryItems<Playlist>(library().playlists[0].id).at(0).name, library().playlists[0].name);
    EXPECT_EQ(libraryItems<Artist>(library().artists[0].id).at(0).id.rawValue(), library().artists[0].id);
    EXPECT_TRUE(libraryItems<Artist>("r.none").empty());
    EXPECT_TRUE(libraryItems<Playlist>(album.id).empty()) << "an album's identifier names no playlist";
    EXPECT_EQ(service->requestedTargets().front(), "/v1/me/library/albums?ids=" + album.id);
}

TEST_F(CatalogRequestTests, AnAnswerThatIsNoListFailsToDecode) {
    service->injectFault(1, DemoFault::malformedJSON());
    service->injectFault(2, DemoFault::malformedJSON());
    EXPECT_THROW(search("home"), Foundation::DecodingError);
    EXPECT_THROW(libraryItems<Album>(library().albums[0].id), Foundation::DecodingError);
    ServiceConfiguration::setCurrent(std::nullopt);
    EXPECT_THROW(libraryItems<Playlist>("p.1"), ServiceConfigurationError);
}
