#include "MarrowbellCore/Store/SQLError.h"
#include "StoreFixture.h"

#include <Foundation/CancellationError.h>

namespace MarrowbellCore {
namespace {

using Testing::identifiersOf;
using Strings = std::vector<std::string>;

class StoreWritesTest : public Testing::StoreFixture {};

TEST_F(StoreWritesTest, UpsertsKeepTheKeyAndHandBackOneRecordPerInputInOrder) {
    const auto first = store.insert(std::vector{song("a", "A"), song("b", "B")});
    const auto second = store.insert(std::vector{song("c", "C"), song("a", "A2"), song("c", "C2")});
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(identifiersOf(second), (Strings{"c", "a", "c"}));
    EXPECT_EQ(second[1].pk, first[0].pk);
    EXPECT_EQ(second[0].pk, second[2].pk);
    EXPECT_EQ(second[1].title, "A2");
    EXPECT_EQ(second[1].remotePlayParameters(), (RemotePlayParameters{"a", "song"}));
    EXPECT_EQ(query("SELECT title FROM Songs ORDER BY pk"), (Strings{"A2", "B", "C2"}));
    EXPECT_TRUE(store.insert(std::vector<IncomingSong>{}).empty());
}

TEST_F(StoreWritesTest, SortOrderAndPassiveFollowTheirUpdateRules) {
    store.insert(
        std::vector{song("kept", "K", 5), song("library", "L", 1, false), song("passive", "P", 1, true)});
    const auto returned = store.insert(
        std::vector{song("kept", "K"), song("library", "L", std::nullopt, true), song("passive", "P")});
    EXPECT_TRUE(returned[1].isPassive) << "the returned record carries the incoming value";
    EXPECT_FALSE(returned[0].order);
    EXPECT_EQ(query("SELECT identifier || ':' || sortOrder || ':' || isPassive FROM Songs ORDER BY pk"),
              (Strings{"kept:5:0", "library:1:0", "passive:1:0"}));
    store.insert(std::vector{song("kept", "K", 7)});
    EXPECT_EQ(query("SELECT sortOrder FROM Songs WHERE identifier = 'kept'"), Strings{"7"});
}

TEST_F(StoreWritesTest, AnUpdateReplacesOptionalColumnsWithNull) {
    auto withGenre = album("l.1", "Album");
    withGenre.genre = "Rock";
    store.insert(std::vector{withGenre});
    store.insert(std::vector{album("l.1", "Album")});
    EXPECT_EQ(query("SELECT genre FROM Albums"), Strings{"NULL"});
}

TEST_F(StoreWritesTest, SyncRemovesWhatVanishedAndUpsertsTheRest) {
    store.insert(std::vector{playlist("p.1", "One"), playlist("p.2", "Two")});
    store.sync(std::vector{playlist("p.2", "Two renamed"), playlist("p.3", "Three")});
    EXPECT_EQ(query("SELECT identifier || '=' || name FROM Playlists ORDER BY pk"),
              (Strings{"p.2=Two renamed", "p.3=Three"}));
    store.sync(std::vector<IncomingPlaylist>{});
    EXPECT_EQ(query("SELECT count(*) FROM Playlists"), Strings{"0"});
}

TEST_F(StoreWritesTest, SongSyncKeepsPassiveSongsAStoredPlaylistListsAndTheRelationRows) {
    const auto songs = store.insert(
        std::vector{song("lib", "L", 1), song("gone", "G", 2), song("track", "T", std::nullopt, true),
                    song("orphan", "O", std::nullopt, true), song("loose", "X", std::nullopt, true)});
    const auto playlists = store.insert(std::vector{playlist("p.1", "Mix"), playlist("p.2", "Removed")});
    store.insert(std::vector{songs[0], songs[1], songs[2]}, playlists[0]);
    store.insert(std::vector{songs[3]}, playlists[1]);
    store.removePlaylists({"p.2"});
    store.sync(std::vector{song("lib", "L", 1)});
    EXPECT_EQ(query("SELECT identifier FROM Songs ORDER BY pk"), (Strings{"lib", "track"}))
        << "a library song the listing lacks goes, also from a playlist; a passive song stays while a "
           "stored playlist lists it";
    EXPECT_EQ(query("SELECT count(*) FROM PlaylistSongs"), Strings{"4"});
    EXPECT_EQ(identifiersOf(store.songs(playlists[0])), (Strings{"lib", "track"}));
}

TEST_F(StoreWritesTest, RemovingSongsAlbumsOrArtistsRemovesTheirAlbumAndArtistRows) {
    const auto songs = store.insert(std::vector{song("a", "A"), song("b", "B"), song("c", "C")});
    const auto albums = store.insert(std::vector{album("al.1", "One"), album("al.2", "Two")});
    const auto artists = store.insert(std::vector{artist("ar.1", "One"), artist("ar.2", "Two")});
    for (const auto& owner : albums) {
        store.insert(songs, owner);
    }
    for (const auto& owner : artists) {
        store.insert(songs, owner);
    }
    store.sync(std::vector{song("a", "A"), song("c", "C")});
    store.removeAlbums({"al.1"});
    store.sync(std::vector{artist("ar.2", "Two")});
    EXPECT_EQ(query("SELECT album || ':' || song FROM AlbumSongs ORDER BY pk"),
              (Strings{std::to_string(albums[1].pk) + ":" + std::to_string(songs[0].pk),
                       std::to_string(albums[1].pk) + ":" + std::to_string(songs[2].pk)}));
    EXPECT_EQ(query("SELECT artist || ':' || song FROM ArtistSongs ORDER BY pk"),
              (Strings{std::to_string(artists[1].pk) + ":" + std::to_string(songs[0].pk),
                       std::to_string(artists[1].pk) + ":" + std::to_string(songs[2].pk)}));
    EXPECT_EQ(identifiersOf(store.songs(albums[1])), (Strings{"a", "c"}));
}

TEST_F(StoreWritesTest, RemovalQuotesIdentifiersAndLeavesTheRestAlone) {
    store.insert(std::vector{artist("it's", "Quote"), artist("its", "Plain"),
                             artist("'; DROP TABLE Artists; --", "X")});
    store.removeArtists({"it's", "'; DROP TABLE Artists; --"});
    EXPECT_EQ(query("SELECT identifier FROM Artists"), Strings{"its"});
    store.removeArtists({});
    EXPECT_EQ(store.allArtistIdentifiers(), LocalDatabase::IdentifierSet{"its"});
}

TEST_F(StoreWritesTest, RelationWritesTakeTheLaterPositionOfARepeatedSong) {
    const auto songs = store.insert(std::vector{song("a", "A"), song("b", "B")});
    const auto albums = store.insert(std::vector{album("l.1", "Album")});
    store.insert(std::vector{songs[0], songs[1], songs[0]}, albums[0]);
    EXPECT_EQ(query("SELECT song || ':' || sortOrder FROM AlbumSongs ORDER BY song"),
              (Strings{std::to_string(songs[0].pk) + ":2", std::to_string(songs[1].pk) + ":1"}));
    store.insert(std::vector{songs[1].pk}, ArtistPK{9});
    EXPECT_EQ(query("SELECT artist || ':' || song || ':' || sortOrder FROM ArtistSongs"),
              Strings{"9:" + std::to_string(songs[1].pk) + ":0"});
}

TEST_F(StoreWritesTest, AFailedWriteLeavesNoneOfItsRows) {
    store.insert(std::vector{playlist("p.old", "Old")});
    // A trigger stands in for any failure half way through a write: the third row is refused.
    query("CREATE TRIGGER refuse BEFORE INSERT ON Playlists WHEN NEW.name = 'Bad' "
          "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    try {
        store.sync(std::vector{playlist("p.1", "One"), playlist("p.2", "Two"), playlist("p.3", "Bad")});
        FAIL() << "the refused row must fail the write";
    } catch (const SQLError& error) {
        EXPECT_EQ(error.message, "refused");
    }
    EXPECT_EQ(query("SELECT identifier FROM Playlists"), Strings{"p.old"})
        << "the stale row is back, none added";
}

TEST_F(StoreWritesTest, AStopRequestLeavesASyncingWriteAndARebuildWithoutAnyOfTheirRows) {
    const auto songs = store.insert(std::vector{song("old", "Old")});
    const auto albums = store.insert(std::vector{album("l.1", "Album")});
    store.insert(songs, albums[0]);
    std::stop_source stop;
    stop.request_stop();

    EXPECT_THROW(store.sync(std::vector{song("new", "New"), song("newer", "Newer")}, stop.get_token()),
                 Foundation::CancellationError);
    EXPECT_EQ(query("SELECT identifier FROM Songs"), Strings{"old"}) << "the removed song is back";
    EXPECT_EQ(query("SELECT count(*) FROM AlbumSongs"), Strings{"1"}) << "and its album row";

    const auto added = store.insert(std::vector{song("new", "New")});
    EXPECT_THROW(
        store.rebuildAlbumSongs({OwnerSongs{albums[0].pk, {added[0].pk, songs[0].pk}}}, stop.get_token()),
        Foundation::CancellationError);
    EXPECT_EQ(query("SELECT song FROM AlbumSongs"), Strings{std::to_string(songs[0].pk)});
    EXPECT_EQ(query("PRAGMA integrity_check"), Strings{"ok"});
}

} // namespace
} // namespace MarrowbellCore
