#include "MarrowbellCore/LocalDatabase.h"

#include "SQLColumns.h"
#include "SQLDatabase.h"
#include "StoredPlayParameters.h"

#include <array>

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
    "CREATE TABLE IF NOT EXISTS AlbumSongs (pk INTEGER PRIMARY KEY AUTOINCREMENT, album INTEGER, song INTEGER, "
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
    for (const char* statement : schemaStatements) {
        db_->exec(statement);
    }
    isOpen_ = true;
}

void LocalDatabase::close() {
    std::lock_guard lock(mutex_);
    db_->close();
    isOpen_ = false;
}

std::optional<LocalSong> LocalDatabase::songRow(sqlite3_stmt* statement) {
    auto identifier = SQLColumns::text(statement, 1);
    if (!identifier) {
        return std::nullopt;
    }
    auto title = SQLColumns::text(statement, 2);
    if (!title) {
        return std::nullopt;
    }
    const auto stored = StoredPlayParameters::decode(SQLColumns::blob(statement, 9));
    return LocalSong{
        .pk = SQLColumns::integer(statement, 0),
        .identifier = std::move(*identifier),
        .title = std::move(*title),
        .duration = SQLColumns::real(statement, 3),
        .artistName = SQLColumns::text(statement, 4),
        .albumTitle = SQLColumns::text(statement, 5),
        .genre = SQLColumns::text(statement, 6),
        .dateAdded = SQLColumns::date(statement, 7),
        .releaseDate = SQLColumns::date(statement, 8),
        .playParameters = stored.playParameters,
        .remotePlayParameters = stored.remotePlayParameters,
        .artworkURL = SQLColumns::url(statement, 10),
        .trackNumber = SQLColumns::integer(statement, 11),
        .order = SQLColumns::integer(statement, 12),
        .isPassive = SQLColumns::integer(statement, 13) == 1,
    };
}

std::optional<std::vector<std::uint8_t>> LocalDatabase::encodePlayParameters(
    const MusicKit::PlayParameters& parameters) {
    return StoredPlayParameters::encode(parameters);
}

std::optional<MusicKit::PlayParameters> LocalDatabase::decodePlayParameters(
    const std::optional<std::vector<std::uint8_t>>& bytes) {
    return StoredPlayParameters::decodePlayParameters(bytes);
}

std::optional<RemotePlayParameters> LocalDatabase::decodeRemotePlayParameters(
    const std::optional<std::vector<std::uint8_t>>& bytes) {
    return StoredPlayParameters::decodeRemotePlayParameters(bytes);
}

} // namespace MarrowbellCore
