#include "LibraryModelsTestFixture.h"

#include <sqlite3.h>

namespace Marrowbell::Testing {
namespace {

using MarrowbellCore::LocalDatabase;
using MarrowbellCore::LocalSong;

/// A sort change re-sorts the songs in memory while the store is unchanged; what the user sees must be
/// exactly what a read of the store in that order gives, and a changed store must be read again.
class SortChangeTest : public LibraryModelsTest {
protected:
    void SetUp() override {
        LibraryModelsTest::SetUp();
        syncWholeLibrary();
        setLastRefresh(DefaultsKeys::lastSongSync, 60);
        setLastRefresh(DefaultsKeys::lastAlbumSync, 60);
        showKind(ContainerKind::songs);
        ASSERT_TRUE(finishes(songs->load(false)));
    }

    std::vector<std::string> readSongIDs() {
        return identifiersOf(inStore([descriptor = songs->sortDescriptor()](LocalDatabase& database) {
            return database.allLibrarySongs(descriptor);
        }));
    }

    /// Runs `sql` through a connection of its own, as another process would.
    void writeFromOutside(const std::string& sql) {
        sqlite3* outside = nullptr;
        const std::string path = environment->store().databasePath().toStdString();
        ASSERT_EQ(sqlite3_open(path.c_str(), &outside), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(outside, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(outside);
        sqlite3_close(outside);
    }
};

TEST_F(SortChangeTest, EveryOrderShowsExactlyTheRowsAndOrderOfARead) {
    for (const MusicSortDirection direction : allMusicSortDirections) {
        for (const SongSortOrder order : allSongSortOrders) {
            songs->setSortOrder(order);
            songs->setSortDirection(direction);
            ASSERT_TRUE(finishes(songs->load(false)));
            EXPECT_EQ(identifiersOf(model->topLevelSongs.get()), readSongIDs())
                << sortTitle(order).toStdString() << " " << sortTitle(direction).toStdString();
        }
    }
    for (const AlbumSortOrder order : allAlbumSortOrders) {
        albums->setSortOrder(order);
        ASSERT_TRUE(finishes(albums->load(false)));
        const auto read = inStore([descriptor = albums->sortDescriptor()](LocalDatabase& database) {
            return database.allAlbums(descriptor);
        });
        EXPECT_EQ(identifiersOf(albums->items.get()), identifiersOf(read)) << sortTitle(order).toStdString();
    }
}

TEST_F(SortChangeTest, ASortChangeAfterTheStoreChangedShowsTheChange) {
    const std::string removed = model->topLevelSongs.get().front().identifier;
    inStore([&](LocalDatabase& database) {
        database.removeSongs({removed});
        return true;
    });
    songs->setSortOrder(SongSortOrder::title);
    ASSERT_TRUE(finishes(songs->load(false)));
    auto shown = identifiersOf(model->topLevelSongs.get());
    EXPECT_EQ(std::count(shown.begin(), shown.end(), removed), 0) << "a song the app removed stays gone";

    const std::string renamed = model->topLevelSongs.get()[10].identifier;
    writeFromOutside("UPDATE Songs SET title = 'Zzzz Written Elsewhere' WHERE identifier = '" + renamed +
                     "'");
    songs->setSortDirection(MusicSortDirection::descending);
    ASSERT_TRUE(finishes(songs->load(false)));
    const auto& written = model->topLevelSongs.get();
    const auto found = std::find_if(written.begin(), written.end(),
                                    [&](const LocalSong& song) { return song.identifier == renamed; });
    ASSERT_NE(found, written.end());
    EXPECT_EQ(found->title, "Zzzz Written Elsewhere") << "another connection's write is read";
    EXPECT_EQ(identifiersOf(model->topLevelSongs.get()), readSongIDs());
}

} // namespace
} // namespace Marrowbell::Testing
