#include "MarrowbellCore/Store/SQLError.h"
#include "SQLDatabase.h"
#include "StoreFixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string_view>

namespace MarrowbellCore {
namespace {

const std::vector<std::string> expectedSchema{
    "CREATE TABLE Songs (pk INTEGER PRIMARY KEY AUTOINCREMENT, identifier TEXT, title TEXT, duration REAL, "
    "artistName TEXT, albumTitle TEXT, genre TEXT, dateAdded REAL, releaseDate REAL, playParameters BLOB, "
    "artworkURL TEXT, trackNumber INTEGER, sortOrder INTEGER, isPassive INTEGER, UNIQUE(identifier))",
    "CREATE TABLE sqlite_sequence(name,seq)",
    "CREATE TABLE Playlists (pk INTEGER PRIMARY KEY AUTOINCREMENT, identifier TEXT, name TEXT, dateAdded "
    "REAL, "
    "artworkURL TEXT, UNIQUE(identifier))",
    "CREATE TABLE Albums (pk INTEGER PRIMARY KEY AUTOINCREMENT, identifier TEXT, title TEXT, artistName "
    "TEXT, "
    "genre TEXT, dateAdded REAL, releaseDate REAL, artworkURL TEXT, UNIQUE(identifier))",
    "CREATE TABLE Artists (pk INTEGER PRIMARY KEY AUTOINCREMENT, identifier TEXT, name TEXT, genre TEXT, "
    "dateAdded REAL, artworkURL TEXT, UNIQUE(identifier))",
    "CREATE TABLE PlaylistSongs (pk INTEGER PRIMARY KEY AUTOINCREMENT, playlist INTEGER, song INTEGER, "
    "sortOrder INTEGER, UNIQUE (playlist, song))",
    "CREATE TABLE AlbumSongs (pk INTEGER PRIMARY KEY AUTOINCREMENT, album INTEGER, song INTEGER, sortOrder "
    "INTEGER, "
    "UNIQUE (album, song))",
    "CREATE TABLE ArtistSongs (pk INTEGER PRIMARY KEY AUTOINCREMENT, artist INTEGER, song INTEGER, "
    "sortOrder INTEGER, UNIQUE (artist, song))",
};

const char* const selectSongs =
    "SELECT pk, identifier, title, duration, artistName, albumTitle, genre, dateAdded, "
    "releaseDate, playParameters, artworkURL, trackNumber, sortOrder, isPassive FROM Songs "
    "ORDER BY pk";

class LocalDatabaseTest : public Testing::StoreFixture {
protected:
    std::vector<LocalSong> songs() { return SQLDatabase(path()).querySongs(selectSongs); }

    void insertSong(const std::string& identifier, const SQLValue& playParameters) {
        SQLDatabase(path()).executeBatch(
            "INSERT INTO Songs (identifier, title, playParameters) VALUES (?, 'Title', ?) "
            "ON CONFLICT (identifier) DO NOTHING",
            1, [&](std::size_t) {
                return SQLValues{identifier, playParameters};
            });
    }
};

TEST_F(LocalDatabaseTest, OpenCreatesTheExactSchemaInWriteAheadMode) {
    EXPECT_TRUE(store.isOpen());
    EXPECT_EQ(query("SELECT sql FROM sqlite_master WHERE type = 'table' ORDER BY rowid"), expectedSchema);
    EXPECT_EQ(query("SELECT count(*) FROM sqlite_master WHERE type NOT IN ('table', 'index')"),
              std::vector<std::string>{"0"});
    EXPECT_EQ(query("PRAGMA user_version"), std::vector<std::string>{"2"});
    EXPECT_EQ(query("PRAGMA journal_mode"), std::vector<std::string>{"wal"});
}

TEST_F(LocalDatabaseTest, ASecondOpenRunsNoStatementAndAReopenedFileKeepsItsRows) {
    SQLDatabase(path()).exec("DROP TABLE Artists");
    EXPECT_FALSE(store.open());
    EXPECT_TRUE(query("SELECT name FROM sqlite_master WHERE name = 'Artists'").empty());

    insertSong("kept", SQLValue());
    store.close();
    EXPECT_FALSE(store.isOpen());
    LocalDatabase reopened(path());
    EXPECT_FALSE(reopened.open()) << "the file was not new";
    EXPECT_EQ(reopened.allSongs().size(), 1u);
    EXPECT_TRUE(LocalDatabase(directory.file("new.db")).open());
}

std::string fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST_F(LocalDatabaseTest, OpeningAFileOfTheCurrentVersionLeavesItUntouched) {
    store.insert(std::vector{song("s.1", "Kept")});
    store.close();
    const auto before = fileBytes(path());
    LocalDatabase reopened(path());
    reopened.open();
    EXPECT_EQ(reopened.allSongs().size(), 1u);
    reopened.close();
    EXPECT_EQ(fileBytes(path()), before);
}

TEST_F(LocalDatabaseTest, AFileOfANewerVersionIsRefusedAndLeftUntouched) {
    store.close();
    SQLDatabase(path()).exec("PRAGMA user_version = 3");
    const auto before = fileBytes(path());
    LocalDatabase newer(path());
    try {
        newer.open();
        FAIL() << "a newer file must be refused";
    } catch (const SQLError& error) {
        EXPECT_NE(error.message.find("version 3"), std::string::npos) << error.message;
        EXPECT_NE(error.message.find("version 2"), std::string::npos) << error.message;
    }
    EXPECT_FALSE(newer.isOpen());
    newer.close();
    EXPECT_EQ(fileBytes(path()), before);
    EXPECT_EQ(query("PRAGMA user_version"), std::vector<std::string>{"3"});
}

TEST_F(LocalDatabaseTest, AClosedStoreFailsEveryCallWithSQLError) {
    store.close();
    EXPECT_THROW(store.allSongs(), SQLError);
    EXPECT_THROW(store.open(), SQLError);
    EXPECT_TRUE(store.search("anything").empty());
    EXPECT_EQ(Testing::coreLogEntries().size(), 5u) << "four failed kinds and the search's own line";
}

TEST_F(LocalDatabaseTest, SongRowsFollowTheColumnRules) {
    SQLDatabase(path()).exec(
        "INSERT INTO Songs (identifier, title, duration, dateAdded, trackNumber, sortOrder, isPassive) "
        "VALUES ('a', 'First', NULL, 0.0, NULL, NULL, 2);"
        "INSERT INTO Songs (identifier, title) VALUES ('b', NULL);"
        "INSERT INTO Songs (identifier, title, duration, dateAdded, trackNumber, sortOrder, isPassive) "
        "VALUES ('c', 'Third', 215.0, 1.5, 4, 99, 1);");
    const auto read = songs();
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].identifier, "a");
    EXPECT_EQ(read[0].duration, 0.0);
    EXPECT_FALSE(read[0].dateAdded);
    EXPECT_EQ(read[0].trackNumber, 0);
    EXPECT_EQ(read[0].order, 0);
    EXPECT_FALSE(read[0].isPassive);
    EXPECT_EQ(read[1].identifier, "c");
    EXPECT_EQ(read[1].dateAdded->timeIntervalSinceReferenceDate, 1.5);
    EXPECT_EQ(read[1].trackNumber, 4);
    EXPECT_EQ(read[1].order, 99);
    EXPECT_TRUE(read[1].isPassive);
}

TEST_F(LocalDatabaseTest, PlayParametersReadBackAsBothModels) {
    const MusicKit::PlayParameters parameters{"i.123", "song", true, false, "1440", std::nullopt, "1440"};
    const auto bytes = LocalDatabase::encodePlayParameters(parameters);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->begin() + 8), "bplist00");

    insertSong("s", SQLValue(parameters));
    const auto read = songs();
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].playParameters(), parameters);
    const RemotePlayParameters expected{"i.123", "song", true, false, "1440", std::nullopt, "1440"};
    EXPECT_EQ(read[0].remotePlayParameters(), expected);
    EXPECT_TRUE(Testing::coreLogEntries().empty());
}

TEST_F(LocalDatabaseTest, AnASCIIStringWithHighBytesIsADamagedBlob) {
    auto bytes = *LocalDatabase::encodePlayParameters(MusicKit::PlayParameters{"i.123", "song"});
    const std::string_view identifier = "i.123";
    const auto text = std::search(bytes.begin(), bytes.end(), identifier.begin(), identifier.end());
    ASSERT_NE(text, bytes.end());
    *text = 0xE9;
    insertSong("s", SQLValue(bytes));
    const auto read = songs();
    ASSERT_EQ(read.size(), 1u);
    EXPECT_FALSE(read[0].playParameters());
    EXPECT_FALSE(read[0].remotePlayParameters());
    EXPECT_EQ(Testing::coreLogEntries().size(), 2u);
}

TEST_F(LocalDatabaseTest, EmptyAndDamagedBlobsLeaveTheFieldsAbsentAndTheRowReadable) {
    SQLDatabase(path()).exec(
        "INSERT INTO Songs (identifier, title, playParameters) VALUES ('empty', 'E', x'');"
        "INSERT INTO Songs (identifier, title, playParameters) VALUES ('damaged', 'D', x'0102030405');");
    const auto read = songs();
    ASSERT_EQ(read.size(), 2u);
    EXPECT_FALSE(read[0].playParameters());
    EXPECT_FALSE(read[1].playParameters());
    EXPECT_FALSE(read[1].remotePlayParameters());
    const auto log = Testing::coreLogEntries();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].category, "parameters");
    EXPECT_EQ(log[0].format, "Failed to decode PlayParameters: %@");
    EXPECT_EQ(log[1].format, "Failed to decode RemotePlayParameters: %@");
}

TEST_F(LocalDatabaseTest, PlayParametersAreDecodedOnlyWhenAskedForAndCopiesShareTheirBytes) {
    Foundation::PropertyListDictionary serviceRejects;
    serviceRejects.set("id", std::string("i.9"));
    serviceRejects.set("kind", std::string("song"));
    serviceRejects.set("catalogId", std::int64_t{9});
    insertSong("good", SQLValue(MusicKit::PlayParameters{"i.1", "song"}));
    insertSong("damaged", SQLValue(std::vector<std::uint8_t>{1, 2, 3}));
    insertSong("serviceRejects", SQLValue(serviceRejects.binaryEncoded()));
    insertSong("none", SQLValue(std::nullopt));
    const auto read = songs();
    ASSERT_EQ(read.size(), 4u);
    EXPECT_TRUE(Testing::coreLogEntries().empty()) << "a read decodes no play parameters";

    // Whether a row shows greyed is told without a log line, and as the player's model would tell it.
    EXPECT_EQ((std::vector{read[0].hasPlayParameters(), read[1].hasPlayParameters(),
                           read[2].hasPlayParameters(), read[3].hasPlayParameters()}),
              (std::vector{true, false, true, false}));
    EXPECT_TRUE(Testing::coreLogEntries().empty());

    const LocalSong copy = read[0];
    EXPECT_EQ(copy.storedPlayParameters.bytes().data(), read[0].storedPlayParameters.bytes().data());
    EXPECT_EQ(copy.playParameters(), (MusicKit::PlayParameters{"i.1", "song"}));
    EXPECT_EQ(read[2].playParameters(), (MusicKit::PlayParameters{"i.9", "song"}));
    EXPECT_FALSE(read[2].remotePlayParameters());
    EXPECT_EQ(read[2].songIDForArtwork(), "song-serviceRejects");
    ASSERT_EQ(Testing::coreLogEntries().size(), 2u) << "each failing decoding logs as it is asked for";
    EXPECT_EQ(Testing::coreLogEntries()[0].format, "Failed to decode RemotePlayParameters: %@");
}

TEST_F(LocalDatabaseTest, APlayerReadableBlobCanStillFailTheServiceModel) {
    Foundation::PropertyListDictionary dictionary;
    dictionary.set("id", std::string("i.9"));
    dictionary.set("kind", std::string("song"));
    dictionary.set("catalogId", std::int64_t{9});
    const auto bytes = dictionary.binaryEncoded();
    EXPECT_TRUE(LocalDatabase::decodePlayParameters(bytes));
    EXPECT_FALSE(LocalDatabase::decodeRemotePlayParameters(bytes));
    ASSERT_EQ(Testing::coreLogEntries().size(), 1u);
    EXPECT_EQ(Testing::coreLogEntries()[0].format, "Failed to decode RemotePlayParameters: %@");
}

} // namespace
} // namespace MarrowbellCore
