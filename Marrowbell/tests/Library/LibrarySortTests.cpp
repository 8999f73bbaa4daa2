#include "Library/LibrarySortDescriptors.h"
#include "Library/LocalizedStandardComparison.h"

#include <MarrowbellCore/Store/LocalDatabase.h>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace Marrowbell {
namespace {
using MarrowbellCore::IncomingSong;
using MarrowbellCore::LocalSong;

const QLocale english(QLocale::English, QLocale::UnitedStates);

TEST(LocalizedStandardComparisonTest, NumbersByValueCaseIgnoredAccentsInPlace) {
    const LocalizedStandardComparison compare(english);
    EXPECT_EQ(compare("Track 2", "Track 10"), std::weak_ordering::less);
    EXPECT_EQ(compare("track 10", "Track 9"), std::weak_ordering::greater);
    EXPECT_EQ(compare("abba", "ABBA"), std::weak_ordering::equivalent);
    EXPECT_EQ(compare("Echo", "Étude"), std::weak_ordering::less);
    EXPECT_EQ(compare("Étude", "Fable"), std::weak_ordering::less);
    EXPECT_EQ(compare("", "a"), std::weak_ordering::less);
    // Broken UTF-8 from the service still compares, as replacement characters.
    EXPECT_NE(compare("\xff\xfe", "a"), std::weak_ordering::equivalent);
    const std::optional<std::string> absent, empty("");
    EXPECT_EQ(compare(absent, empty), std::weak_ordering::less);
    EXPECT_EQ(compare(absent, absent), std::weak_ordering::equivalent);
}

TEST(LocalizedStandardComparisonTest, WithoutALocaleNumbersStillCompareByValue) {
    const LocalizedStandardComparison compare(QLocale::c());
    EXPECT_EQ(compare("Track 9", "track 10"), std::weak_ordering::less);
}

class StoreSortTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(directory.isValid());
        store = std::make_unique<MarrowbellCore::LocalDatabase>(
            directory.filePath(QStringLiteral("local.db")).toStdString());
        store->open();
    }

    std::vector<std::string> titles(SongSortOrder order, MusicSortDirection direction) {
        std::vector<std::string> result;
        for (const auto& song : store->allLibrarySongs(songSortDescriptor(order, direction, english))) {
            result.push_back(song.title);
        }
        return result;
    }

    QTemporaryDir directory;
    std::unique_ptr<MarrowbellCore::LocalDatabase> store;
};

IncomingSong incoming(std::string title, std::optional<std::string> album, std::optional<std::int64_t> order,
                      double duration) {
    IncomingSong song;
    song.identifier = "i." + title;
    song.title = std::move(title);
    song.albumTitle = std::move(album);
    song.order = order;
    song.duration = duration;
    return song;
}

TEST_F(StoreSortTest, SongOrdersReadTheirFieldsAndDescendingReversesAbsentValuesToo) {
    store->insert(std::vector<IncomingSong>{
        incoming("Track 10", "beta", 3, 200.0), incoming("track 9", std::nullopt, 1, 100.5),
        incoming("Étude", "Alpha", std::nullopt, 300.0), incoming("Echo", "Gamma", 2, 100.0)});
    using Order = SongSortOrder;
    using Direction = MusicSortDirection;
    const std::vector<std::string> byTitle = {"Echo", "Étude", "track 9", "Track 10"};
    EXPECT_EQ(titles(Order::title, Direction::ascending), byTitle);
    EXPECT_EQ(titles(Order::title, Direction::descending), std::vector(byTitle.rbegin(), byTitle.rend()));
    EXPECT_EQ(titles(Order::album, Direction::ascending),
              (std::vector<std::string>{"track 9", "Étude", "Track 10", "Echo"}));
    EXPECT_EQ(titles(Order::album, Direction::descending),
              (std::vector<std::string>{"Echo", "Track 10", "Étude", "track 9"}));
    EXPECT_EQ(titles(Order::dateAdded, Direction::ascending),
              (std::vector<std::string>{"Étude", "track 9", "Echo", "Track 10"}));
    EXPECT_EQ(titles(Order::duration, Direction::ascending),
              (std::vector<std::string>{"Echo", "track 9", "Track 10", "Étude"}));
}

TEST_F(StoreSortTest, ALibraryLargeEnoughToSortOnSeveralThreadsComesBackInOrder) {
    // Titles that only the collation orders right: numbers by value, mixed case, accents.
    const char* words[] = {"love", "Night", "Été",      "river", "Blue",
                           "élan", "Zebra", "Ångström", "ábaco", "Moon"};
    std::vector<IncomingSong> songs;
    for (int index = 0; index < 25000; ++index) {
        songs.push_back(incoming(std::string(words[index % 10]) + " " + std::to_string(index % 997) + " " +
                                     words[(index / 10) % 10] + std::to_string(index),
                                 std::nullopt, index, 1.0));
    }
    store->insert(songs);

    const LocalizedStandardComparison compare(english);
    const auto sorted = store->allLibrarySongs(
        songSortDescriptor(SongSortOrder::title, MusicSortDirection::ascending, english));
    ASSERT_EQ(sorted.size(), songs.size());
    for (std::size_t index = 1; index < sorted.size(); ++index) {
        ASSERT_NE(compare(sorted[index - 1].title, sorted[index].title), std::weak_ordering::greater)
            << sorted[index - 1].title << " before " << sorted[index].title;
    }
}

TEST(ContainerSortTest, AlbumsArtistsAndPlaylistsSortByTheirChosenField) {
    MarrowbellCore::LocalAlbum first, second;
    first.title = "Blue 10";
    first.artistName = "zed";
    second.title = "blue 9";
    std::vector albums = {first, second};
    std::ranges::sort(albums,
                      albumSortDescriptor(AlbumSortOrder::title, MusicSortDirection::ascending, english));
    EXPECT_EQ(albums.front().title, "blue 9");
    std::ranges::sort(albums,
                      albumSortDescriptor(AlbumSortOrder::artist, MusicSortDirection::descending, english));
    EXPECT_EQ(albums.front().title, "Blue 10");

    MarrowbellCore::LocalArtist pop, unknown;
    pop.name = "A";
    pop.genre = "Pop";
    unknown.name = "B";
    std::vector artists = {pop, unknown};
    std::ranges::sort(artists,
                      artistSortDescriptor(ArtistsSortOrder::genre, MusicSortDirection::ascending, english));
    EXPECT_EQ(artists.front().name, "B");

    MarrowbellCore::LocalPlaylist older, newer, undated;
    older.name = "Older";
    older.dateAdded = Foundation::Date{100.0};
    newer.name = "Newer";
    newer.dateAdded = Foundation::Date{200.0};
    undated.name = "Undated";
    std::vector playlists = {older, undated, newer};
    std::ranges::sort(playlists, playlistSortDescriptor(PlaylistSortOrder::dateAdded,
                                                        MusicSortDirection::descending, english));
    EXPECT_EQ(playlists[0].name, "Newer");
    EXPECT_EQ(playlists[2].name, "Undated");
}

} // namespace
} // namespace Marrowbell
