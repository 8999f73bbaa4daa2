#include "BenchmarkLibrary.h"
#include "LikeMatcher.h"
#include "LikeSearchIndex.h"
#include "MarrowbellCore/Store/SQLError.h"
#include "SQLDatabase.h"
#include "SQLTransaction.h"
#include "StoreFixture.h"
#include "StoreStatements.h"

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

namespace MarrowbellCore {
namespace {

using Testing::StoreFixture;

/// Pieces that stress SQLite's LIKE: wildcards, ASCII and non-ASCII case pairs, quotes, and byte sequences
/// that are not valid UTF-8 (lone lead and continuation bytes, an overlong form, a surrogate, a
/// non-character).
const std::vector<std::string> tricky{"a",
                                      "A",
                                      "z",
                                      "%",
                                      "_",
                                      " ",
                                      "'",
                                      "\"",
                                      "\u00e9",
                                      "\u00c9",
                                      "\u00df",
                                      "\u6771",
                                      "\xC3",
                                      "\x80",
                                      "\xFF",
                                      "\xC0\xAF",
                                      "\xED\xA0\x80",
                                      "\xEF\xBF\xBF",
                                      "\xEF\xBF\xBD",
                                      "[",
                                      "\\",
                                      "Love"};

std::string randomText(std::mt19937& random, std::size_t maximumPieces) {
    std::uniform_int_distribution<std::size_t> count(0, maximumPieces);
    std::uniform_int_distribution<std::size_t> piece(0, tricky.size() - 1);
    std::string text;
    for (auto pieces = count(random); pieces > 0; --pieces) {
        text += tricky[piece(random)];
    }
    return text;
}

bool sqliteLike(sqlite3* db, const std::string& text, const std::string& pattern) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT ? LIKE ?", -1, &statement, nullptr);
    sqlite3_bind_text(statement, 1, text.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(statement, 2, pattern.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_step(statement);
    const bool matches = sqlite3_column_int(statement, 0) == 1;
    sqlite3_finalize(statement);
    return matches;
}

TEST(SearchLikeMatcher, DecidesEveryPairAsSQLiteDoes) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    std::mt19937 random(1208);
    for (int pair = 0; pair < 20000; ++pair) {
        const auto text = randomText(random, 8);
        const auto pattern = randomText(random, 4);
        ASSERT_EQ(LikeMatcher::matches(pattern.c_str(), text.c_str()), sqliteLike(db, text, pattern))
            << "text \"" << text << "\" pattern \"" << pattern << "\"";
    }
    sqlite3_close(db);
}

/// A store holding the benchmark's library (scaled down) and rows that no sync writes but a file may hold.
class SearchIndexTest : public StoreFixture {
protected:
    void SetUp() override {
        StoreFixture::SetUp();
        const auto library = Benchmark::generateLibrary(2000, Benchmark::artworkNowhere);
        store.insert(library.songs);
        store.insert(library.albums);
        store.insert(library.artists);
        store.insert(library.playlists);
        auto passive = song("passive", "Love Passive", std::nullopt, true);
        auto unplayable = song("unplayable", "Love Unplayable");
        unplayable.playParameters.reset();
        store.insert(std::vector{passive, unplayable});
        query("INSERT INTO Songs (identifier, title, isPassive, playParameters) VALUES "
              "(NULL, 'Love without identifier', 0, x'00'), ('null-title', NULL, 0, x'00'), "
              "('blob-title', x'4c6f7665', 0, x'00'), ('number-title', 1234.5, 0, x'00'), "
              "('broken', 'Lo' || x'c3' || 've ' || x'ff80', 0, x'00')");
    }

    /// The hits of the store's search and of the search statement itself, as keys, for every term and limit.
    template <class Search, class Reference>
    void expectSameHits(Search search, const char* statement, Reference reference) {
        SQLDatabase referenceDB(path());
        const std::vector<std::string> terms{"love",
                                             "night",
                                             "a",
                                             "e",
                                             "dream fire",
                                             "caf\u00e9",
                                             "CAF\u00c9",
                                             "\u6771\u4eac",
                                             "don't",
                                             "zzz",
                                             "%",
                                             "_",
                                             "%_%",
                                             "__",
                                             "",
                                             "L_VE",
                                             "o%n",
                                             "'",
                                             "\"",
                                             "\xFF",
                                             "\xC3",
                                             "Lo\xEF\xBF\xBDve",
                                             "ROCK 'N'",
                                             " ",
                                             "Stra\u00dfe",
                                             "STRASSE",
                                             "34.",
                                             "\u00e9t\u00e9",
                                             "E\u0301",
                                             std::string("lo\0ve", 5)};
        for (const auto& term : terms) {
            for (const std::int64_t limit : {10, 0, -1, 1, 25}) {
                const auto pattern = "%" + term + "%";
                EXPECT_EQ(keysOf(search(term, limit)),
                          keysOf(reference(referenceDB, statement, SQLValues{pattern, limit})))
                    << "term \"" << term << "\" limit " << limit;
            }
        }
    }

    template <class Record> static std::vector<std::int64_t> keysOf(const std::vector<Record>& records) {
        std::vector<std::int64_t> keys;
        for (const auto& record : records) {
            keys.push_back(record.pk);
        }
        return keys;
    }
};

TEST_F(SearchIndexTest, EachKindFindsWhatItsStatementFinds) {
    expectSameHits(
        [&](const std::string& term, std::int64_t limit) { return store.searchSongs(term, limit); },
        StoreStatements::searchSongs,
        [](SQLDatabase& db, const char* sql, const SQLValues& values) { return db.querySongs(sql, values); });
    expectSameHits(
        [&](const std::string& term, std::int64_t limit) { return store.searchAlbums(term, limit); },
        StoreStatements::searchAlbums,
        [](SQLDatabase& db, const char* sql, const SQLValues& values) {
            return db.queryAlbums(sql, values);
        });
    expectSameHits(
        [&](const std::string& term, std::int64_t limit) { return store.searchArtists(term, limit); },
        StoreStatements::searchArtists,
        [](SQLDatabase& db, const char* sql, const SQLValues& values) {
            return db.queryArtists(sql, values);
        });
    expectSameHits(
        [&](const std::string& term, std::int64_t limit) { return store.searchPlaylists(term, limit); },
        StoreStatements::searchPlaylists,
        [](SQLDatabase& db, const char* sql, const SQLValues& values) {
            return db.queryPlaylists(sql, values);
        });
}

TEST_F(SearchIndexTest, SeesEveryChangeWhoeverMakesIt) {
    EXPECT_TRUE(store.searchPlaylists("Quiet Storm", 10).empty());
    store.insert(std::vector{playlist("p.new", "Quiet Storm")});
    EXPECT_EQ(Testing::identifiersOf(store.searchPlaylists("quiet storm", 10)),
              std::vector<std::string>{"p.new"});

    query("UPDATE Playlists SET name = 'Loud Storm' WHERE identifier = 'p.new'");
    EXPECT_TRUE(store.searchPlaylists("quiet storm", 10).empty());

    store.removePlaylists({"p.new"});
    EXPECT_TRUE(store.searchPlaylists("loud storm", 10).empty());

    // In a transaction that has written, the index stands aside: a rollback would leave it out of date.
    SQLDatabase db(path());
    LikeSearchIndex index("SELECT pk, name, 1 FROM Playlists ORDER BY pk");
    db.exec("SAVEPOINT test");
    db.exec("INSERT INTO Playlists (identifier, name) VALUES ('p.open', 'Open Storm')");
    EXPECT_FALSE(index.matchingKeys(db, "%open storm%", 10));
    db.exec("ROLLBACK TO test; RELEASE test");
    EXPECT_EQ(index.matchingKeys(db, "%open storm%", 10), std::vector<std::int64_t>{});
}

TEST_F(SearchIndexTest, ReadsInsideOneSnapshotSeeOneStateOfTheFile) {
    const auto stored = store.insert(std::vector{playlist("p.q", "Quiet Storm")});
    SQLDatabase db(path());
    LikeSearchIndex index("SELECT pk, name, 1 FROM Playlists ORDER BY pk");
    const SQLReadSnapshot snapshot(db);
    EXPECT_EQ(index.matchingKeys(db, "%quiet storm%", 10), std::vector<std::int64_t>{stored[0].pk});
    query("UPDATE Playlists SET name = 'Loud Storm' WHERE identifier = 'p.q'");
    const auto rows = db.queryPlaylists(
        "SELECT pk, identifier, name, dateAdded, artworkURL FROM Playlists WHERE identifier = 'p.q'");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "Quiet Storm");
}

TEST_F(SearchIndexTest, ASearchNeverListsARowUnderANameItNoLongerHas) {
    store.insert(std::vector{playlist("p.q", "Zebrafinch")});
    std::atomic<bool> done = false;
    std::thread renamer([&] {
        SQLDatabase other(path());
        sqlite3_busy_timeout(other.handle(), 1000);
        for (int round = 0; !done; ++round) {
            other.exec(round % 2 ? "UPDATE Playlists SET name = 'Zebrafinch' WHERE identifier = 'p.q'"
                                 : "UPDATE Playlists SET name = 'Loud' WHERE identifier = 'p.q'");
        }
    });
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    while (std::chrono::steady_clock::now() < end) {
        for (const auto& section : store.search("zebrafinch")) {
            for (const auto& result : section.results) {
                EXPECT_EQ(result.name(), "Zebrafinch");
            }
        }
    }
    done = true;
    renamer.join();
}

TEST_F(SearchIndexTest, LeavesFaultsToTheStatement) {
    const std::string tooComplex(60000, '_');
    try {
        store.searchSongs(tooComplex, 10);
        FAIL() << "a pattern longer than SQLite accepts must fail as the statement does";
    } catch (const SQLError& error) {
        EXPECT_EQ(error.message, "LIKE or GLOB pattern too complex");
    }
    query("DROP TABLE Albums");
    try {
        store.searchAlbums("love", 10);
        FAIL();
    } catch (const SQLError& error) {
        EXPECT_EQ(error.message, "no such table: Albums");
    }
}

} // namespace
} // namespace MarrowbellCore
