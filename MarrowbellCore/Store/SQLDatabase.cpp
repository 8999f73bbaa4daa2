#include "SQLDatabase.h"

#include "MarrowbellCore/Logging/Loggers.h"
#include "MarrowbellCore/Store/LocalDatabase.h"
#include "MarrowbellCore/Store/SQLError.h"
#include "SQLColumns.h"
#include "SongRows.h"
#include "StoreFileFailure.h"

#include <Foundation/CancellationError.h>
#include <Foundation/Text.h>
#include <string_view>

namespace MarrowbellCore {
namespace {

/// Binds one value and gives SQLite's result code.
struct Binder {
    sqlite3_stmt* statement;
    int index;

    int operator()(std::monostate) const { return sqlite3_bind_null(statement, index); }
    int operator()(const std::string& text) const {
        // Bound NUL-terminated: text after an embedded NUL is not stored.
        return sqlite3_bind_text(statement, index, text.c_str(), -1, SQLITE_TRANSIENT);
    }
    int operator()(const Foundation::URL& url) const { return (*this)(url.absoluteString()); }
    int operator()(Foundation::Date date) const {
        return sqlite3_bind_double(statement, index, date.timeIntervalSinceReferenceDate);
    }
    int operator()(std::int64_t integer) const { return sqlite3_bind_int64(statement, index, integer); }
    int operator()(bool flag) const { return sqlite3_bind_int64(statement, index, flag ? 1 : 0); }
    int operator()(const MusicKit::PlayParameters& parameters) const {
        return (*this)(EncodedPlayParameters{LocalDatabase::encodePlayParameters(parameters)});
    }
    int operator()(const EncodedPlayParameters& parameters) const {
        return parameters.bytes ? (*this)(*parameters.bytes) : sqlite3_bind_null(statement, index);
    }
    int operator()(double number) const { return sqlite3_bind_double(statement, index, number); }
    int operator()(const std::vector<std::uint8_t>& bytes) const {
        return sqlite3_bind_blob64(statement, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
    }
};

std::optional<LocalAlbum> albumRow(sqlite3_stmt* statement) {
    auto identifier = SQLColumns::text(statement, 1);
    auto title = SQLColumns::text(statement, 2);
    if (!identifier || !title) {
        return std::nullopt;
    }
    return LocalAlbum{
        SQLColumns::integer(statement, 0), std::move(*identifier),         std::move(*title),
        SQLColumns::text(statement, 3),    SQLColumns::text(statement, 4), SQLColumns::date(statement, 5),
        SQLColumns::date(statement, 6),    SQLColumns::url(statement, 7)};
}

std::optional<LocalArtist> artistRow(sqlite3_stmt* statement) {
    auto identifier = SQLColumns::text(statement, 1);
    auto name = SQLColumns::text(statement, 2);
    if (!identifier || !name) {
        return std::nullopt;
    }
    return LocalArtist{
        SQLColumns::integer(statement, 0), std::move(*identifier),         std::move(*name),
        SQLColumns::text(statement, 3),    SQLColumns::date(statement, 4), SQLColumns::url(statement, 5)};
}

std::optional<LocalPlaylist> playlistRow(sqlite3_stmt* statement) {
    auto identifier = SQLColumns::text(statement, 1);
    auto name = SQLColumns::text(statement, 2);
    if (!identifier || !name) {
        return std::nullopt;
    }
    return LocalPlaylist{SQLColumns::integer(statement, 0), std::move(*identifier), std::move(*name),
                         SQLColumns::date(statement, 3), SQLColumns::url(statement, 4)};
}

sqlite3* openConnection(const std::string& path, SQLDatabase::Access access) {
    sqlite3* handle = nullptr;
    // Each connection is used by one thread at a time (the store's own lock sees to it), so SQLite's locking
    // on every call would only cost time.
    const int flags = SQLITE_OPEN_NOMUTEX |
                      (access == SQLDatabase::Access::readOnly ? SQLITE_OPEN_READONLY
                                                               : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (sqlite3_open_v2(path.c_str(), &handle, flags, nullptr) != SQLITE_OK || !handle) {
        sqlite3_close_v2(handle);
        if (auto reason = unwritableReason(path)) {
            throw SQLError("Failed to open database: " + *reason + ".", SQLError::Kind::notWritable);
        }
        throw SQLError("Failed to open database");
    }
    return handle;
}

/// Whether only SQL white space is left.
bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t\n\f\r") == std::string_view::npos;
}

} // namespace

SQLDatabase::SQLDatabase(std::string path, Access access)
    : db_(openConnection(path, access))
    , path_(std::move(path))
    , statements_(db_.get()) {
    if (access == Access::readOnly) {
        // A reader of every page once, such as the check of the file, is served by SQLite's small default
        // cache, and commits it makes none.
        return;
    }
    try {
        execute("PRAGMA cache_size = 10000;");
    } catch (const SQLError& error) {
        Loggers::store().error("Failed to set cache size: %@", {error});
    }
    // In write-ahead-log mode this keeps every commit safe from a crash of the program and the file from
    // corruption, while a sync's many small commits no longer each wait for the disk.
    try {
        execute("PRAGMA synchronous = NORMAL;");
    } catch (const SQLError& error) {
        Loggers::store().error("Failed to set synchronous mode: %@", {error});
    }
}

SQLDatabase::~SQLDatabase() = default;

void SQLDatabase::close() {
    if (!db_) {
        return;
    }
    statements_.clear();
    likeSearchIndexes_.clear();
    if (sqlite3_close(db_.get()) != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(db_.get());
        db_.reset();
        throw SQLError(message);
    }
    // Already closed: the handle must not reach the closer.
    static_cast<void>(db_.release());
}

void SQLDatabase::failWithCurrentMessage() const {
    failWith(sqlite3_extended_errcode(db_.get()), sqlite3_errmsg(db_.get()));
}

void SQLDatabase::failWith(int code, const std::string& message) const {
    SQLError error = storeFileError(code, message, path_);
    if (error.kind == SQLError::Kind::damaged) {
        stopUsingFile(error);
    }
    throw error;
}

void SQLDatabase::failPreparing(const SQLError& error) const {
    const int code = sqlite3_extended_errcode(db_.get());
    if (code == SQLITE_OK) {
        throw error;
    }
    failWith(code, error.message);
}

void SQLDatabase::stopUsingFile(const SQLError& error) const {
    if (damage_) {
        return;
    }
    damage_ = error;
    // A checkpoint at close would copy the log of this session's writes into the damaged file.
    leaveLogAtClose();
    Loggers::store().error("Stopped using the library file: %@", {error});
    if (damageObserver_) {
        damageObserver_(error);
    }
}

void SQLDatabase::leaveLogAtClose() const {
    if (db_) {
        sqlite3_db_config(db_.get(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    }
}

void SQLDatabase::writeStoppably(const std::stop_token& stopToken, const std::function<void()>& write) {
    const auto leaveLogIfStopped = [&] {
        if (stopToken.stop_requested()) {
            leaveLogAtClose();
        }
    };
    Foundation::checkCancellation(stopToken);
    try {
        std::stop_callback interrupt(stopToken, [handle = db_.get()] { sqlite3_interrupt(handle); });
        write();
    } catch (const SQLError&) {
        leaveLogIfStopped();
        Foundation::checkCancellation(stopToken);
        throw;
    }
    leaveLogIfStopped();
}

void SQLDatabase::ensureOpen() const {
    if (!db_) {
        throw SQLError("The database is closed.");
    }
    if (damage_) {
        throw *damage_;
    }
}

SQLStatement SQLDatabase::prepare(std::string_view sql) {
    ensureOpen();
    try {
        return prepareStatement(db_.get(), sql);
    } catch (const SQLError& error) {
        failPreparing(error);
    }
}

CachedStatement SQLDatabase::lend(std::string_view sql) {
    ensureOpen();
    try {
        return statements_.lend(sql);
    } catch (const SQLError& error) {
        failPreparing(error);
    }
}

void SQLDatabase::bind(const SQLValues& values, sqlite3_stmt* statement) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (std::visit(Binder{statement, static_cast<int>(i + 1)}, values[i].storage()) != SQLITE_OK) {
            throw SQLError(sqlite3_errmsg(sqlite3_db_handle(statement)));
        }
    }
}

void SQLDatabase::stepToCompletion(sqlite3_stmt* statement) const {
    if (sqlite3_step(statement) != SQLITE_DONE) {
        failWithCurrentMessage();
    }
}

void SQLDatabase::execute(std::string_view sql) {
    stepToCompletion(prepare(sql).get());
}

void SQLDatabase::exec(const std::string& sql) {
    ensureOpen();
    if (const auto statement = lendSingleStatement(sql)) {
        readRows(statement->get(), [](sqlite3_stmt*) {});
        return;
    }
    if (sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        failWithCurrentMessage();
    }
}

std::optional<CachedStatement> SQLDatabase::lendSingleStatement(const std::string& sql) {
    if (statements_.contains(sql)) {
        return statements_.lend(sql);
    }
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    // A text that does not prepare is left to sqlite3_exec, which reports it the same way.
    const int result =
        sqlite3_prepare_v3(db_.get(), sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &statement, &tail);
    SQLStatement prepared(statement);
    if (result != SQLITE_OK || !statement || !isBlank(tail)) {
        return std::nullopt;
    }
    return statements_.adopt(sql, std::move(prepared));
}

std::int64_t SQLDatabase::queryInteger(std::string_view sql) {
    const auto statement = lend(sql);
    std::optional<std::int64_t> value;
    readRows(statement.get(),
             [&](sqlite3_stmt* row) { value = value.value_or(SQLColumns::integer(row, 0)); });
    if (!value) {
        throw SQLError("The statement gave no row.");
    }
    return *value;
}

std::vector<std::string> SQLDatabase::queryTexts(std::string_view sql) {
    const auto statement = lend(sql);
    std::vector<std::string> texts;
    readRows(statement.get(),
             [&](sqlite3_stmt* row) { texts.push_back(SQLColumns::text(row, 0).value_or("")); });
    return texts;
}

template <class Record, class Decode>
std::vector<Record> SQLDatabase::queryRecords(std::string_view sql, const SQLValues& values, Decode decode) {
    const auto statement = lend(sql);
    bind(values, statement.get());
    std::vector<Record> records;
    readRows(statement.get(), [&](sqlite3_stmt* row) {
        if (auto record = decode(row)) {
            records.push_back(std::move(*record));
        }
    });
    return records;
}

std::vector<LocalSong> SQLDatabase::querySongs(std::string_view sql, const SQLValues& values) {
    return concatenated(readSongs(sql, values));
}

RecordSlices<LocalSong> SQLDatabase::readSongs(std::string_view sql, const SQLValues& values) {
    const auto statement = lend(sql);
    bind(values, statement.get());
    SongRows rows;
    readRows(statement.get(), [&](sqlite3_stmt* row) { rows.append(row); });
    return rows.records();
}

std::vector<LocalAlbum> SQLDatabase::queryAlbums(std::string_view sql, const SQLValues& values) {
    return queryRecords<LocalAlbum>(sql, values, &albumRow);
}

std::vector<LocalArtist> SQLDatabase::queryArtists(std::string_view sql, const SQLValues& values) {
    return queryRecords<LocalArtist>(sql, values, &artistRow);
}

std::vector<LocalPlaylist> SQLDatabase::queryPlaylists(std::string_view sql, const SQLValues& values) {
    return queryRecords<LocalPlaylist>(sql, values, &playlistRow);
}

std::vector<bool> SQLDatabase::queryMatches(std::string_view sql, const SQLValues& values,
                                            const std::optional<std::string>& artist,
                                            const std::optional<std::string>& album) {
    const auto statement = lend(sql);
    bind(values, statement.get());
    const std::string wantedArtist = artist.value_or("");
    const std::string wantedAlbum = album.value_or("");
    std::vector<bool> matches;
    readRows(statement.get(), [&](sqlite3_stmt* row) {
        const auto storedArtist = SQLColumns::text(row, 0).value_or("");
        const auto storedAlbum = SQLColumns::text(row, 1).value_or("");
        matches.push_back(Foundation::canonicallyEqual(storedArtist, wantedArtist) ||
                          Foundation::canonicallyEqual(storedAlbum, wantedAlbum));
    });
    return matches;
}

LikeSearchIndex& SQLDatabase::likeSearchIndex(std::string_view scanSQL) {
    ensureOpen();
    auto index = likeSearchIndexes_.find(scanSQL);
    if (index == likeSearchIndexes_.end()) {
        index = likeSearchIndexes_.emplace(std::string(scanSQL), LikeSearchIndex(std::string(scanSQL))).first;
    }
    return index->second;
}

} // namespace MarrowbellCore
