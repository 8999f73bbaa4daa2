#include "MarrowbellCore/Store/LocalDatabase.h"
#include "MarrowbellCore/Store/SQLError.h"
#include "SQLDatabase.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

namespace MarrowbellCore {
namespace {

using Testing::TemporaryDirectory;

class SQLDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        Testing::resetLog();
        db.exec("CREATE TABLE Sample (a, b, c, d, e, f, g, h, i, j);"
                "CREATE TABLE Limited (key INTEGER UNIQUE, value INTEGER CHECK (value < 10));");
    }

    /// The SQLite type name and the text of each column of the one Sample row.
    std::vector<std::string> sampleTypes() {
        return Testing::queryText(
            directory.file("sample.db"),
            "SELECT typeof(a) || ',' || typeof(b) || ',' || typeof(c) || ',' || typeof(d) || "
            "',' || typeof(e) || ',' || typeof(f) || ',' || typeof(g) || ',' || typeof(h) || "
            "',' || typeof(i) || ',' || typeof(j) FROM Sample");
    }

    TemporaryDirectory directory;
    SQLDatabase db{directory.file("sample.db")};
};

TEST_F(SQLDatabaseTest, BindsEachKindOfValueByTheBindingTable) {
    const auto statement = db.prepare("INSERT INTO Sample VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const std::optional<std::int64_t> seven = 7;
    const std::optional<std::string> absent;
    SQLDatabase::bind({SQLValue("text"), SQLValue(*Foundation::URL::fromString("https://example.com/a")),
                       SQLValue(Foundation::Date{12.5}), SQLValue(seven), SQLValue(true),
                       SQLValue(MusicKit::PlayParameters{"i.1", "song"}), SQLValue(2.5), SQLValue(absent),
                       SQLValue(std::int32_t{3}), SQLValue(std::vector<std::uint8_t>{1, 2})},
                      statement.get());
    ASSERT_EQ(sqlite3_step(statement.get()), SQLITE_DONE);
    EXPECT_EQ(sampleTypes(),
              std::vector<std::string>{"text,text,real,integer,integer,blob,real,null,integer,blob"});
    EXPECT_EQ(Testing::queryText(directory.file("sample.db"),
                                 "SELECT b || '|' || c || '|' || d || '|' || e FROM Sample"),
              std::vector<std::string>{"https://example.com/a|12.5|7|1"});
}

TEST_F(SQLDatabaseTest, AValueSQLiteRefusesFailsTheBind) {
    const auto statement = db.prepare("INSERT INTO Sample (a) VALUES (?)");
    EXPECT_THROW(SQLDatabase::bind({SQLValue("one"), SQLValue("two")}, statement.get()), SQLError);
    sqlite3_limit(db.handle(), SQLITE_LIMIT_LENGTH, 8);
    EXPECT_THROW(SQLDatabase::bind({SQLValue(std::string(16, 'x'))}, statement.get()), SQLError);
    EXPECT_THROW(db.executeBatch("INSERT INTO Sample (a) VALUES (?)", 1,
                                 [](std::size_t) { return SQLValues{std::vector<std::uint8_t>(16)}; }),
                 SQLError);
    EXPECT_TRUE(Testing::queryText(directory.file("sample.db"), "SELECT a FROM Sample").empty());
}

TEST_F(SQLDatabaseTest, TextIsStoredUpToAnEmbeddedNul) {
    db.executeBatch("INSERT INTO Sample (a) VALUES (?)", 1,
                    [](std::size_t) { return SQLValues{std::string("before\0after", 12)}; });
    EXPECT_EQ(Testing::queryText(directory.file("sample.db"), "SELECT DISTINCT a FROM Sample"),
              std::vector<std::string>{"before"});
}

TEST_F(SQLDatabaseTest, ExecuteRejectsAStatementThatYieldsARow) {
    EXPECT_THROW(db.execute("SELECT 1"), SQLError);
    EXPECT_THROW(db.execute("SELECT * FROM Missing"), SQLError);
    try {
        db.prepare("SELEKT 1");
        FAIL();
    } catch (const SQLError& error) {
        EXPECT_NE(error.message.find("syntax error"), std::string::npos);
    }
}

TEST_F(SQLDatabaseTest, BatchRunsTheLastRowTwiceAndReportsAFailingRow) {
    const std::vector<std::int64_t> keys{1, 2, 3};
    db.execute(
        "INSERT INTO Limited (key, value) VALUES (?, ?) ON CONFLICT (key) DO UPDATE SET value = value + 1",
        keys, [](std::int64_t key) {
            return SQLValues{key, std::int64_t{0}};
        });
    EXPECT_EQ(Testing::queryText(directory.file("sample.db"),
                                 "SELECT key || ':' || value FROM Limited ORDER BY key"),
              (std::vector<std::string>{"1:0", "2:0", "3:1"}));

    const std::vector<std::int64_t> failing{20, 21};
    try {
        db.execute("INSERT INTO Limited (key, value) VALUES (?, ?)", failing, [](std::int64_t key) {
            return SQLValues{key, key};
        });
        FAIL() << "a row that breaks a constraint must fail the batch";
    } catch (const SQLError& error) {
        EXPECT_NE(error.message.find("CHECK constraint failed"), std::string::npos);
    }
}

TEST_F(SQLDatabaseTest, ReadersSkipRowsWithoutRequiredColumnsAndReadNullsByTheirRules) {
    db.exec(
        "CREATE TABLE Albums (pk INTEGER PRIMARY KEY, identifier TEXT, title TEXT, artistName TEXT, genre "
        "TEXT, "
        "dateAdded REAL, releaseDate REAL, artworkURL TEXT);"
        "INSERT INTO Albums VALUES (1, 'a', 'First', NULL, 'Rock', 0.0, NULL, 'not a url');"
        "INSERT INTO Albums VALUES (2, 'b', NULL, NULL, NULL, NULL, NULL, NULL);"
        "INSERT INTO Albums VALUES (3, 'c', 'Third', 'Artist', NULL, 10.5, -3.0, 'https://x.test/a.png');");
    const auto albums =
        db.queryAlbums("SELECT pk, identifier, title, artistName, genre, dateAdded, releaseDate, "
                       "artworkURL FROM Albums ORDER BY pk");
    ASSERT_EQ(albums.size(), 2u);
    EXPECT_EQ(albums[0].identifier, "a");
    EXPECT_FALSE(albums[0].dateAdded);
    EXPECT_FALSE(albums[0].releaseDate);
    EXPECT_FALSE(albums[0].artworkURL);
    EXPECT_EQ(albums[1].identifier, "c");
    EXPECT_EQ(albums[1].dateAdded->timeIntervalSinceReferenceDate, 10.5);
    EXPECT_EQ(albums[1].releaseDate->timeIntervalSinceReferenceDate, -3.0);
    EXPECT_EQ(albums[1].artworkURL->absoluteString(), "https://x.test/a.png");
}

TEST_F(SQLDatabaseTest, AReaderWhoseStepFailsHalfWayReportsTheFailure) {
    db.exec("CREATE TABLE Playlists (pk INTEGER PRIMARY KEY, identifier TEXT, name TEXT);"
            "INSERT INTO Playlists VALUES (1, 'a', 'One'), (2, 'b', 'Two');");
    // abs() of the smallest integer overflows when SQLite reaches the second row.
    const auto sql =
        "SELECT pk, identifier, name, CASE WHEN pk = 2 THEN abs(-9223372036854775807 - 1) END, NULL "
        "FROM Playlists ORDER BY pk";
    try {
        db.queryPlaylists(sql);
        FAIL() << "a truncated list must not pass for a complete one";
    } catch (const SQLError& error) {
        EXPECT_NE(error.message.find("integer overflow"), std::string::npos);
    }
}

TEST_F(SQLDatabaseTest, MatcherAcceptsEitherTheArtistOrTheAlbum) {
    db.exec("CREATE TABLE Songs (title TEXT, artistName TEXT, albumTitle TEXT);"
            "INSERT INTO Songs VALUES ('Intro', 'A', 'X'), ('Outro', 'B', NULL);");
    const auto sql = "SELECT artistName, albumTitle FROM Songs WHERE title = ?";
    const auto matches = [&](const char* title, std::optional<std::string> artist,
                             std::optional<std::string> album) {
        return db.queryMatches(sql, {SQLValue(title)}, artist, album);
    };
    EXPECT_EQ(matches("Intro", "A", "Y"), std::vector<bool>{true});
    EXPECT_EQ(matches("Intro", "B", "X"), std::vector<bool>{true});
    EXPECT_EQ(matches("Intro", "B", "Y"), std::vector<bool>{false});
    EXPECT_EQ(matches("Outro", "C", std::nullopt), std::vector<bool>{true});
    EXPECT_EQ(matches("Intro", "A\u0301", std::nullopt), std::vector<bool>{false});
}

TEST(SQLDatabaseOpening, FailsInAFolderThatDoesNotExist) {
    try {
        SQLDatabase db("/nonexistent-folder/for/sure/local.db");
        FAIL();
    } catch (const SQLError& error) {
        EXPECT_EQ(error.message, "Failed to open database");
    }
}

TEST_F(SQLDatabaseTest, AFailedCloseIsReportedAndTheConnectionStillGoes) {
    auto open = db.prepare("SELECT a FROM Sample");
    EXPECT_THROW(db.close(), SQLError);
    EXPECT_THROW(db.execute("DELETE FROM Sample"), SQLError);
    open.reset();
    EXPECT_NO_THROW(db.close());
}

} // namespace
} // namespace MarrowbellCore
