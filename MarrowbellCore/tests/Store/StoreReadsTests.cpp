#include "MarrowbellCore/Store/SQLError.h"
#include "StoreFixture.h"

#include <Foundation/CancellationError.h>

namespace MarrowbellCore {
namespace {

using Testing::identifiersOf;
using Strings = std::vector<std::string>;

const auto byTitle =
    SortDescriptor<LocalSong>::keyPath(&LocalSong::title, [](const std::string& lhs, const std::string& rhs) {
        return std::weak_order(lhs.compare(rhs), 0);
    });

std::vector<std::string> sectionNames(const std::vector<SearchSection>& sections) {
    std::vector<std::string> names;
    for (const auto& section : sections) {
        names.push_back(section.name);
    }
    return names;
}

class StoreReadsTest : public Testing::StoreFixture {};

TEST_F(StoreReadsTest, SortedListsApplyTheCallersDescriptorAndLeaveOutPassiveSongs) {
    store.insert(
        std::vector{song("1", "Bravo"), song("2", "alpha"), song("3", "Charlie", std::nullopt, true)});
    EXPECT_EQ(identifiersOf(store.allLibrarySongs(byTitle)), (Strings{"1", "2"}));
    const auto descending = SortDescriptor<LocalSong>::keyPath(
        &LocalSong::title,
        [](const std::string& lhs, const std::string& rhs) { return std::weak_order(lhs.compare(rhs), 0); },
        SortOrder::reverse);
    EXPECT_EQ(identifiersOf(store.allLibrarySongs(descending)), (Strings{"2", "1"}));
    EXPECT_EQ(store.allSongs().size(), 3u);

    store.insert(std::vector{album("l.1", "Zed"), album("l.2", "Abc")});
    const auto albumsByTitle = SortDescriptor<LocalAlbum>::keyPath(
        &LocalAlbum::title,
        [](const std::string& lhs, const std::string& rhs) { return std::weak_order(lhs.compare(rhs), 0); });
    EXPECT_EQ(identifiersOf(store.allAlbums(albumsByTitle)), (Strings{"l.2", "l.1"}));
}

TEST_F(StoreReadsTest, ACancelledCallerGetsNoListEvenThoughTheReadSucceeded) {
    store.insert(std::vector{artist("r.1", "Artist")});
    std::stop_source stop;
    stop.request_stop();
    const auto byName = SortDescriptor<LocalArtist>([](const LocalArtist& lhs, const LocalArtist& rhs) {
        return std::weak_order(lhs.name.compare(rhs.name), 0);
    });
    EXPECT_THROW(store.allArtists(byName, stop.get_token()), Foundation::CancellationError);
}

TEST_F(StoreReadsTest, SongListsFollowTheStoredOrderAndIncludePassiveSongs) {
    const auto songs =
        store.insert(std::vector{song("a", "A"), song("b", "B", std::nullopt, true), song("c", "C")});
    const auto playlists = store.insert(std::vector{playlist("p.1", "Mix"), playlist("p.2", "Empty")});
    store.insert(std::vector{songs[2], songs[1], songs[0]}, playlists[0]);
    EXPECT_EQ(identifiersOf(store.songs(playlists[0])), (Strings{"c", "b", "a"}));
    EXPECT_TRUE(store.songs(playlists[1]).empty());

    const auto albums = store.insert(std::vector{album("l.1", "Album")});
    store.insert(std::vector{songs[1].pk, songs[0].pk}, AlbumPK{albums[0].pk});
    store.removeSongs({"b"});
    EXPECT_EQ(identifiersOf(store.songs(albums[0])), Strings{"a"})
        << "a removed song's relation row gives nothing";
}

TEST_F(StoreReadsTest, TextSearchesUseLikeWithItsWildcards) {
    store.insert(
        std::vector{playlist("p.1", "Road Trip"), playlist("p.2", "100% Pure"), playlist("p.3", "Roadside")});
    EXPECT_EQ(identifiersOf(store.searchPlaylists("TRIP", 10)), Strings{"p.1"});
    EXPECT_EQ(identifiersOf(store.searchPlaylists("d T", 10)), Strings{"p.1"});
    EXPECT_EQ(identifiersOf(store.searchPlaylists("%", 2)), (Strings{"p.1", "p.2"}));
    EXPECT_EQ(identifiersOf(store.searchPlaylists("R_ad", 10)), (Strings{"p.1", "p.3"}));

    auto unplayable = song("u", "Trip Hop");
    unplayable.playParameters.reset();
    store.insert(std::vector{song("s", "Trip"), song("t", "Trip Tease", std::nullopt, true), unplayable});
    EXPECT_EQ(identifiersOf(store.searchSongs("trip", 10)), Strings{"s"});
}

TEST_F(StoreReadsTest, LibrarySearchGivesSectionsInOrderCappedAtTen) {
    std::vector<IncomingSong> songs;
    for (int i = 0; i < 25; ++i) {
        songs.push_back(song("s." + std::to_string(i), "Love song " + std::to_string(i)));
    }
    store.insert(songs);
    store.insert(std::vector{album("l.1", "Lovely"), album("l.2", "Other")});
    const auto sections = store.search("  love\n");
    EXPECT_EQ(sectionNames(sections), (Strings{"Albums", "Songs"}));
    EXPECT_EQ(sections[1].results.size(), 10u);
    EXPECT_EQ(sections[0].results[0], SearchResult::album(store.allAlbums()[0]));

    const auto log = Testing::coreLogEntries();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].format, "Search completed in %f seconds for query: %s");
    EXPECT_NE(log[0].message.find("for query:   love\n"), std::string::npos);
}

TEST_F(StoreReadsTest, BlankQueriesReadNothingAndNoMatchStillLogs) {
    EXPECT_TRUE(store.search(" \t\n\r ").empty());
    EXPECT_TRUE(Testing::coreLogEntries().empty());
    EXPECT_TRUE(store.search("nothing").empty());
    EXPECT_EQ(Testing::coreLogEntries().size(), 1u);
}

TEST_F(StoreReadsTest, AFailingKindIsLoggedAndTheOthersGoOn) {
    store.insert(std::vector{song("s", "Echo")});
    query("DROP TABLE Albums");
    const auto sections = store.search("echo");
    EXPECT_EQ(sectionNames(sections), Strings{"Songs"});
    const auto log = Testing::coreLogEntries();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].format, "Could not search albums: %@");
    EXPECT_EQ(log[0].category, "search");
}

TEST_F(StoreReadsTest, ACancelledSearchGivesNoSections) {
    store.insert(std::vector{playlist("p.1", "Echo")});
    std::stop_source stop;
    stop.request_stop();
    EXPECT_THROW(store.search("echo", stop.get_token()), Foundation::CancellationError);
    EXPECT_TRUE(Testing::coreLogEntries().empty());
}

TEST_F(StoreReadsTest, HasSongNeedsTheExactTitleAndEitherTheArtistOrTheAlbum) {
    auto intro = song("i", "Intro");
    intro.artistName = "A";
    intro.albumTitle = "B";
    store.insert(std::vector{intro});
    EXPECT_TRUE(store.hasSong("Intro", "A", "X"));
    EXPECT_TRUE(store.hasSong("Intro", "X", "B"));
    EXPECT_FALSE(store.hasSong("Intro", "X", "Y"));
    EXPECT_FALSE(store.hasSong("intro", "A", "B"));
    EXPECT_FALSE(store.hasSong("Intro", std::nullopt, std::nullopt));
    store.insert(std::vector{song("j", "Intro")});
    EXPECT_TRUE(store.hasSong("Intro", std::nullopt, std::nullopt));
}

TEST_F(StoreReadsTest, ReadsFailWithSQLErrorWithoutTheirTable) {
    query("DROP TABLE Songs");
    EXPECT_THROW(store.allLibrarySongs(byTitle), SQLError);
    EXPECT_THROW(store.hasSong("x", std::nullopt, std::nullopt), SQLError);
}

} // namespace
} // namespace MarrowbellCore
