#include "MarrowbellCore/Store/LocalDatabase.h"

#include "MarrowbellCore/Store/SQLError.h"
#include "SQLDatabase.h"
#include "SongRows.h"
#include "StoredPlayParameters.h"

#include <array>
#include <string>

namespace MarrowbellCore {
namespace {

constexpr std::array schemaStatements{
    "PRAGMA journal_mode=WAL;",
    "PRAGMA user_version=2;",
    "CREATE TABLE IF NOT EXISTS Songs (pk INTEGER PRIMARY KEY AUTOINCREMENT, identifier TEXT, title TEXT, "
    "duration REAL, artistName TEXT, albumTitle TEXT, genre TEXT, dateAdded REAL, releaseDate REAL, "
    "playParameters BLOB, artworkURL TEXT, trackNumber INTEGER, sortOrder INTEGER, isPassive INTEGER, "
    "UNIQUE(identifier))",
    "CREATE TABLE IF NOT EXISTS Playlists (pk INTEGER PRIMARY KEY AUTOINCREMENT, identifier TEXT, name TEXT, "
    "dateAdded REAL, artworkURL TEXT, UNIQUE(identifier))",
    "CREATE TABLE IF NOT EXISTS Albums (pk INTEGER PRIMARY KEY AUTOINCREMENT, identifier TEXT, title TEXT, "
    "artistName TEXT, genre TEXT, dateAdded REAL, releaseDate REAL, artworkURL TEXT, UNIQUE(identifier))",
    "CREATE TABLE IF NOT EXISTS Artists (pk INTEGER PRIMARY KEY AUTOINCREMENT, identifier TEXT, name TEXT, "
    "genre TEXT, dateAdded REAL, artworkURL TEXT, UNIQUE(identifier))",
    "CREATE TABLE IF NOT EXISTS PlaylistSongs (pk INTEGER PRIMARY KEY AUTOINCREMENT, playlist INTEGER, "
    "song INTEGER, sortOrder INTEGER, UNIQUE (playlist, song))",
    "CREATE TABLE IF NOT EXISTS AlbumSongs (pk INTEGER PRIMARY KEY AUTOINCREMENT, album INTEGER, song "
    "INTEGER, "
    "sortOrder INTEGER, UNIQUE (album, song))",
    "CREATE TABLE IF NOT EXISTS ArtistSongs (pk INTEGER PRIMARY KEY AUTOINCREMENT, artist INTEGER, "
    "song INTEGER, sortOrder INTEGER, UNIQUE (artist, song))",
};

} // namespace

LocalDatabase::LocalDatabase(std::string path)
    : path_(std::move(path))
    , db_(std::make_unique<SQLDatabase>(path_)) {}

LocalDatabase::~LocalDatabase() = default;

bool LocalDatabase::isOpen() const {
    std::lock_guard lock(mutex_);
    return isOpen_;
}

void LocalDatabase::open() {
    std::lock_guard lock(mutex_);
    if (isOpen_) {
        return;
    }
    const auto version = db_->queryInteger("PRAGMA user_version");
    if (version > formatVersion) {
        // Read as this version, its rows could be taken for something they are not, and a write could damage
        // them.
        throw SQLError("The library file has format version " + std::to_string(version) +
                       ", newer than version " + std::to_string(formatVersion) + " that this program reads.");
    }
    if (version < formatVersion) {
        for (const char* statement : schemaStatements) {
            db_->exec(statement);
        }
    }
    isOpen_ = true;
}

void LocalDatabase::close() {
    std::lock_guard lock(mutex_);
    db_->close();
    isOpen_ = false;
}

std::optional<LocalSong> LocalDatabase::songRow(sqlite3_stmt* statement) {
    return SongRows::record(statement);
}

std::optional<std::vector<std::uint8_t>>
LocalDatabase::encodePlayParameters(const MusicKit::PlayParameters& parameters) {
    return StoredPlayParameters::encode(parameters);
}

std::optional<MusicKit::PlayParameters>
LocalDatabase::decodePlayParameters(const std::optional<std::vector<std::uint8_t>>& bytes) {
    return StoredPlayParameters::decodePlayParameters(bytes);
}

std::optional<RemotePlayParameters>
LocalDatabase::decodeRemotePlayParameters(const std::optional<std::vector<std::uint8_t>>& bytes) {
    return StoredPlayParameters::decodeRemotePlayParameters(bytes);
}

} // namespace MarrowbellCore
