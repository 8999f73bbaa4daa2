#include "MarrowbellCore/ItemViews/PlaybackItem.h"
#include "MarrowbellCore/ItemViews/SearchSection.h"

#include <gtest/gtest.h>
#include <unordered_set>

namespace MarrowbellCore {
namespace {

LocalSong songWithRemote(std::optional<std::string> catalogId, std::optional<std::string> reportingId,
                         std::optional<std::string> purchasedId = std::nullopt) {
    LocalSong song;
    song.identifier = "i.lib";
    song.title = "Song";
    song.artistName = "Artist";
    song.artworkURL = Foundation::URL::fromString("https://a.test/64x64.jpg");
    song.storedPlayParameters = PlayParameterBytes::copying(
        MusicKit::PlayParameters{"i.lib", "song", std::nullopt, std::nullopt, std::move(catalogId),
                                 std::move(purchasedId), std::move(reportingId)}
            .propertyListEncoded());
    return song;
}

TEST(SearchResultProperties, LocalSongsShareTheirArtworkKeyWithTheCatalog) {
    EXPECT_EQ(SearchResult::song(songWithRemote("123", "456")).thumbnailID(), "song-123");
    EXPECT_EQ(SearchResult::song(songWithRemote(std::nullopt, "456")).thumbnailID(), "song-456");
    EXPECT_EQ(SearchResult::song(songWithRemote(std::nullopt, std::nullopt, "789")).thumbnailID(),
              "song-i.lib");
    LocalSong plain;
    plain.identifier = "i.plain";
    EXPECT_EQ(SearchResult::song(plain).thumbnailID(), "song-i.plain");
}

TEST(SearchResultProperties, CatalogItemsSizeTheirArtworkAndPrefixTheirIds) {
    const MusicKit::Album withArtwork{MusicKit::MusicItemID("1440"), "Album", "Artist",
                                      MusicKit::Artwork("https://a.test/{w}x{h}bb.jpg")};
    const auto result = SearchResult::catalogAlbum(withArtwork);
    EXPECT_EQ(result.id(), "1440");
    EXPECT_EQ(result.name(), "Album");
    EXPECT_EQ(result.thumbnailID(), "album-1440");
    EXPECT_EQ(result.artworkURL()->absoluteString(), "https://a.test/64x64bb.jpg");
    EXPECT_FALSE(SearchResult::catalogAlbum({MusicKit::MusicItemID("2"), "No art", "Artist"}).artworkURL());

    const MusicKit::MusicPersonalRecommendation::Item item{MusicKit::MusicItemID("r.1"), "Mix"};
    EXPECT_EQ(SearchResult::madeForYou(item).thumbnailID(), "made-for-you-r.1");
    EXPECT_EQ(SearchResult::station(item).thumbnailID(), "station-r.1");
}

TEST(SearchResultEquality, NeedsTheSameCaseAndTheSameItem) {
    LocalPlaylist local;
    local.identifier = "p.1";
    local.name = "Local";
    LocalPlaylist renamed = local;
    renamed.name = "Renamed";
    const MusicKit::Playlist catalog{MusicKit::MusicItemID("p.1"), "Catalog"};
    const MusicKit::MusicPersonalRecommendation::Item item{MusicKit::MusicItemID("r.1"), "Mix"};

    EXPECT_EQ(SearchResult::playlist(local), SearchResult::playlist(renamed));
    EXPECT_EQ(SearchResult::playlist(local).hash(), SearchResult::playlist(renamed).hash());
    EXPECT_EQ(SearchResult::playlist(local).thumbnailID(),
              SearchResult::catalogPlaylist(catalog).thumbnailID());
    EXPECT_NE(SearchResult::playlist(local), SearchResult::catalogPlaylist(catalog));
    EXPECT_NE(SearchResult::madeForYou(item), SearchResult::station(item));
    const std::unordered_set<SearchResult> results{
        SearchResult::playlist(local), SearchResult::playlist(renamed), SearchResult::madeForYou(item),
        SearchResult::station(item)};
    EXPECT_EQ(results.size(), 3u);
    EXPECT_EQ((SearchSection{"Songs", {}}).id(), "Songs");
}

TEST(PlaybackItemView, ReadsAStoredSong) {
    const PlaybackItem item(songWithRemote("123", std::nullopt));
    EXPECT_EQ(item.title(), "Song");
    EXPECT_EQ(item.subtitle(), "Artist");
    EXPECT_EQ(item.artist(), "Artist");
    EXPECT_FALSE(item.artwork()) << "a stored song has only an artwork URL";
    EXPECT_EQ(item.songID(), "i.lib");
    EXPECT_EQ(item.songIDForArtwork(), "song-123");
}

TEST(PlaybackItemView, ReadsAQueueEntryWithAndWithoutASong) {
    MusicKit::MusicPlayerQueueEntry entry;
    entry.title = "Entry";
    entry.subtitle = "Subtitle";
    entry.artwork = MusicKit::Artwork("https://a.test/{w}.jpg");
    const PlaybackItem withoutSong(entry);
    EXPECT_EQ(withoutSong.title(), "Entry");
    EXPECT_EQ(withoutSong.subtitle(), "Subtitle");
    EXPECT_TRUE(withoutSong.artwork());
    EXPECT_EQ(withoutSong.duration(), 0.0);
    EXPECT_FALSE(withoutSong.artist());
    EXPECT_FALSE(withoutSong.songID());
    entry.id = "e.7";
    EXPECT_EQ(PlaybackItem(entry).songIDForArtwork(), "entry-e.7");

    entry.item = MusicKit::Station{MusicKit::MusicItemID("ra.5"), "Station"};
    const PlaybackItem station(entry);
    EXPECT_FALSE(station.songID());
    EXPECT_EQ(station.songIDForArtwork(), "station-ra.5") << "one key for every read of a station";
    entry.item = MusicKit::MusicVideo{MusicKit::MusicItemID("v.1"), "Video"};
    EXPECT_EQ(PlaybackItem(entry).songIDForArtwork(), "music-video-v.1");

    entry.item = MusicKit::Song{
        .id = MusicKit::MusicItemID("99"), .title = "Song", .artistName = "Artist", .albumTitle = "Album"};
    const PlaybackItem withSong(entry);
    EXPECT_EQ(withSong.album(), "Album");
    EXPECT_EQ(withSong.duration(), 0.0);
    EXPECT_EQ(withSong.songIDForArtwork(), "song-99");
    EXPECT_EQ(withSong.songIDForArtwork(), withSong.songIDForArtwork());
}

} // namespace
} // namespace MarrowbellCore
