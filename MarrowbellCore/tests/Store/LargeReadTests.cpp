#include "SQLDatabase.h"
#include "StoreFixture.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace MarrowbellCore {
namespace {

using Testing::StoreFixture;

/// What a read gives of one song, field by field (records compare by identifier alone).
using SongFields = std::tuple<std::int64_t, std::string, std::string, bool, bool, std::optional<std::string>>;

SongFields fieldsOf(const LocalSong& song) {
    return {song.pk,
            song.identifier,
            song.title,
            song.playParameters().has_value(),
            song.remotePlayParameters().has_value(),
            song.artworkURL ? std::optional(song.artworkURL->absoluteString()) : std::nullopt};
}

/// A library large enough to be read on several threads, with faulty rows in different slices.
class StoreLargeReadTest : public StoreFixture {
protected:
    void SetUp() override {
        StoreFixture::SetUp();
        std::vector<IncomingSong> songs;
        for (int i = 0; i < 7000; ++i) {
            auto incoming = song("i." + std::to_string(i), "Title " + std::to_string((i * 7919) % 7000),
                                 std::nullopt, i % 10 == 3);
            incoming.artworkURL = Foundation::URL::fromString("https://x.test/" + std::to_string(i) + ".jpg");
            songs.push_back(std::move(incoming));
        }
        store.insert(songs);
        query("UPDATE Songs SET playParameters = x'0102' WHERE pk IN (10, 2500, 6999)");
        query("UPDATE Songs SET title = NULL WHERE pk IN (1, 4097)");
    }

    /// Each row decoded on its own, on the reading thread.
    std::vector<SongFields> rowByRow() {
        SQLDatabase db(path());
        const auto statement = db.prepare("SELECT * FROM Songs");
        std::vector<SongFields> songs;
        while (sqlite3_step(statement.get()) == SQLITE_ROW) {
            if (const auto song = LocalDatabase::songRow(statement.get())) {
                songs.push_back(fieldsOf(*song));
            }
        }
        return songs;
    }

    std::size_t loggedFailures(const std::string& format) {
        const auto log = Testing::coreLogEntries();
        return static_cast<std::size_t>(
            std::count_if(log.begin(), log.end(), [&](const auto& entry) { return entry.format == format; }));
    }
};

TEST_F(StoreLargeReadTest, ReadsEveryRowAsOneRowAtATimeWould) {
    const auto expected = rowByRow();
    ASSERT_EQ(expected.size(), 6998u);
    Testing::resetLog();

    std::vector<SongFields> read;
    for (const auto& song : store.allSongs()) {
        read.push_back(fieldsOf(song));
    }
    EXPECT_EQ(read, expected);
    EXPECT_EQ(loggedFailures("Failed to decode PlayParameters: %@"), 3u);
    EXPECT_EQ(loggedFailures("Failed to decode RemotePlayParameters: %@"), 3u);
}

TEST_F(StoreLargeReadTest, SortsTheLibrarySongsByTheDescriptor) {
    const auto byTitleDescending = SortDescriptor<LocalSong>::keyPath(
        &LocalSong::title,
        [](const std::string& lhs, const std::string& rhs) { return std::weak_order(lhs.compare(rhs), 0); },
        SortOrder::reverse);
    const auto sorted = store.allLibrarySongs(byTitleDescending);
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(), byTitleDescending));

    std::multiset<std::int64_t> keys, libraryKeys;
    for (const auto& song : sorted) {
        keys.insert(song.pk);
    }
    for (const auto& song : store.allSongs()) {
        if (!song.isPassive) {
            libraryKeys.insert(song.pk);
        }
    }
    EXPECT_EQ(keys, libraryKeys);
}

TEST(SQLStatementReuse, AStatementRunAgainStartsWithoutTheLastBindings) {
    Testing::TemporaryDirectory directory;
    SQLDatabase db(directory.file("reuse.db"));
    const auto sql = "SELECT ?1, ?2";
    EXPECT_EQ(db.queryMatches(sql, {SQLValue("A"), SQLValue("B")}, "A", std::nullopt),
              std::vector<bool>{true});
    // A fresh statement reads the parameter left out as NULL, which counts as the empty album.
    EXPECT_EQ(db.queryMatches(sql, {SQLValue("X")}, std::nullopt, std::nullopt), std::vector<bool>{true});
}

} // namespace
} // namespace MarrowbellCore
