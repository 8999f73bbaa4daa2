#include "MarrowbellCore/Store/LocalDatabase.h"

#include "LibraryFileCheck.h"
#include "MarrowbellCore/Store/SQLError.h"
#include "SQLDatabase.h"
#include "SongRows.h"
#include "StoreFileFailure.h"
#include "StoredPlayParameters.h"

#include <array>
#include <string>
#include <string_view>

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

// The tables of a library file, and those SQLite adds for them.
constexpr std::string_view libraryTableNames =
    "('Songs', 'Playlists', 'Albums', 'Artists', 'PlaylistSongs', 'AlbumSongs', 'ArtistSongs', "
    "'sqlite_sequence')";

std::string joined(const std::vector<std::string>& texts) {
    std::string result;
    for (const auto& text : texts) {
        result += (result.empty() ? "" : ", ") + text;
    }
    return result;
}

} // namespace

LocalDatabase::LocalDatabase(std::string path)
    : path_(std::move(path))
    , db_(std::make_unique<SQLDatabase>(path_))
    , fileCheck_(std::make_unique<LibraryFileCheck>()) {}

LocalDatabase::~LocalDatabase() {
    stopFileCheck();
}

bool LocalDatabase::isOpen() const {
    std::lock_guard lock(mutex_);
    return isOpen_;
}

StoreVersion LocalDatabase::version() {
    std::lock_guard lock(mutex_);
    return {.dataVersion = db_->queryInteger("PRAGMA data_version"),
            .ownChanges = sqlite3_total_changes64(db_->handle())};
}

bool LocalDatabase::open() {
    std::lock_guard lock(mutex_);
    if (isOpen_) {
        return false;
    }
    const auto version = db_->queryInteger("PRAGMA user_version");
    if (version > formatVersion) {
        // Read as this version, its rows could be taken for something they are not, and a write could damage
        // them.
        throw SQLError("The library file has format version " + std::to_string(version) +
                       ", newer than version " + std::to_string(formatVersion) + " that this program reads.");
    }
    refuseUnwritableFile();
    bool isNewFile = false;
    if (version < formatVersion) {
        refuseForeignFile();
        isNewFile = db_->queryInteger("SELECT count(*) FROM sqlite_master") == 0;
        for (const char* statement : schemaStatements) {
            db_->exec(statement);
        }
    } else {
        startFileCheck();
    }
    isOpen_ = true;
    return isNewFile;
}

void LocalDatabase::refuseUnwritableFile() {
    // SQLite opens a file it may not write for reading only, and says so only at the first write.
    if (sqlite3_db_readonly(db_->handle(), "main") == 1) {
        throw SQLError(unwritableReason(path_).value_or("The library file " + path_ + " is not writable") +
                           ".",
                       SQLError::Kind::notWritable);
    }
}

void LocalDatabase::refuseForeignFile() {
    const auto foreignNames = db_->queryTexts(
        "SELECT name FROM sqlite_master WHERE name NOT LIKE 'sqlite_autoindex_%' AND name NOT IN " +
        std::string(libraryTableNames) + " ORDER BY name");
    if (!foreignNames.empty()) {
        throw SQLError("The file " + path_ + " is not a Marrowbell library: it holds other tables (" +
                           joined(foreignNames) + "). It is left as it is.",
                       SQLError::Kind::notALibrary);
    }
}

void LocalDatabase::startFileCheck() {
    // The check reads every page of the file, so that a damaged file is found before a sync writes into it
    // rather than at the first read that happens to reach the damage. That takes as long as the first
    // reads of a big library together, so they do not wait for it: only writes do.
    fileCheck_->start(path_, [this](const SQLError& failure) {
        std::lock_guard lock(mutex_);
        db_->stopUsingFile(failure);
    });
}

std::unique_lock<std::mutex> LocalDatabase::lockForWriting(const std::stop_token& stopToken) {
    constexpr std::chrono::minutes fileCheckWait{1};
    const auto failure = fileCheck_->wait(stopToken, fileCheckWait);
    std::unique_lock lock(mutex_);
    if (failure) {
        db_->stopUsingFile(*failure);
    }
    db_->ensureOpen();
    return lock;
}

void LocalDatabase::stopFileCheck() {
    fileCheck_->stop();
    if (fileCheck_->leavesFileUnconfirmed()) {
        // A checkpoint would copy a log left by an earlier session into a file that may be damaged.
        std::lock_guard lock(mutex_);
        db_->leaveLogAtClose();
    }
}

void LocalDatabase::setDamageObserver(std::function<void(const SQLError&)> observer) {
    std::lock_guard lock(mutex_);
    db_->setDamageObserver(std::move(observer));
}

void LocalDatabase::close() {
    // Before the lock: the check's thread may need it to report a failure.
    stopFileCheck();
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
