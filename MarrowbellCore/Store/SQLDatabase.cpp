#include "SQLDatabase.h"

#include "SQLColumns.h"

#include "MarrowbellCore/LocalDatabase.h"
#include "MarrowbellCore/Loggers.h"
#include "MarrowbellCore/SQLError.h"

#include <Foundation/Text.h>

namespace MarrowbellCore {
namespace {

struct Binder {
    sqlite3_stmt* statement;
    int index;

    void operator()(std::monostate) const { sqlite3_bind_null(statement, index); }
    void operator()(const std::string& text) const {
        // Bound NUL-terminated: text after an embedded NUL is not stored.
        sqlite3_bind_text(statement, index, text.c_str(), -1, SQLITE_TRANSIENT);
    }
    void operator()(const Foundation::URL& url) const { (*this)(url.absoluteString()); }
    void operator()(Foundation::Date date) const {
        sqlite3_bind_double(statement, index, date.timeIntervalSinceReferenceDate);
    }
    void operator()(std::int64_t integer) const { sqlite3_bind_int64(statement, index, integer); }
    void operator()(bool flag) const { sqlite3_bind_int64(statement, index, flag ? 1 : 0); }
    void operator()(const MusicKit::PlayParameters& parameters) const {
        (*this)(EncodedPlayParameters{LocalDatabase::encodePlayParameters(parameters)});
    }
    void operator()(const EncodedPlayParameters& parameters) const {
        if (!parameters.bytes) {
            sqlite3_bind_null(statement, index);
            return;
        }
        sqlite3_bind_blob(statement, index, parameters.bytes->data(), static_cast<int>(parameters.bytes->size()),
                          SQLITE_TRANSIENT);
    }
    void operator()(double number) const { sqlite3_bind_double(statement, index, number); }
};

std::optional<LocalAlbum> albumRow(sqlite3_stmt* statement) {
    auto identifier = SQLColumns::text(statement, 1);
    auto title = SQLColumns::text(statement, 2);
    if (!identifier || !title) {
        return std::nullopt;
    }
    return LocalAlbum{SQLColumns::integer(statement, 0), std::move(*identifier), std::move(*title),
                      SQLColumns::text(statement, 3),    SQLColumns::text(statement, 4),
                      SQLColumns::date(statement, 5),    SQLColumns::date(statement, 6),
                      SQLColumns::url(statement, 7)};
}

std::optional<LocalArtist> artistRow(sqlite3_stmt* statement) {
    auto identifier = SQLColumns::text(statement, 1);
    auto name = SQLColumns::text(statement, 2);
    if (!identifier || !name) {
        return std::nullopt;
    }
    return LocalArtist{SQLColumns::integer(statement, 0), std::move(*identifier), std::move(*name),
                       SQLColumns::text(statement, 3), SQLColumns::date(statement, 4), SQLColumns::url(statement, 5)};
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

} // namespace

SQLDatabase::SQLDatabase(std::string path)
    : path_(std::move(path)) {
    sqlite3* handle = nullptr;
    if (sqlite3_open(path_.c_str(), &handle) != SQLITE_OK || !handle) {
        sqlite3_close(handle);
        throw SQLError("Failed to open database");
    }
    db_ = handle;
    try {
        execute("PRAGMA cache_size = 10000;");
    } catch (const SQLError& error) {
        Loggers::defaultLogger().error("Failed to set cache size: %@", {error});
    }
    // In write-ahead-log mode this keeps every commit safe from a crash of the program and the file from
    // corruption, while a sync's many small commits no longer each wait for the disk.
    try {
        exec("PRAGMA synchronous = NORMAL;");
    } catch (const SQLError& error) {
        Loggers::defaultLogger().error("Failed to set synchronous mode: %@", {error});
    }
}

SQLDatabase::~SQLDatabase() {
    close();
}

void SQLDatabase::close() {
    if (db_) {
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

void SQLDatabase::failWithCurrentMessage() const {
    throw SQLError(sqlite3_errmsg(db_));
}

SQLStatement SQLDatabase::prepare(std::string_view sql) {
    sqlite3_stmt* statement = nullptr;
    const std::string text(sql);
    if (sqlite3_prepare_v2(db_, text.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(db_);
        sqlite3_finalize(statement);
        throw SQLError(message);
    }
    if (!statement) {
        throw SQLError("The SQL text holds no statement.");
    }
    return SQLStatement(statement);
}

void SQLDatabase::bind(const SQLValues& values, sqlite3_stmt* statement) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::visit(Binder{statement, static_cast<int>(i + 1)}, values[i].storage());
    }
}

void SQLDatabase::execute(std::string_view sql) {
    const auto statement = prepare(sql);
    if (sqlite3_step(statement.get()) != SQLITE_DONE) {
        failWithCurrentMessage();
    }
}

void SQLDatabase::exec(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        failWithCurrentMessage();
    }
}

void SQLDatabase::executeBatch(std::string_view sql, std::size_t count,
                               const std::function<SQLValues(std::size_t)>& valuesAt) {
    const auto statement = prepare(sql);
    for (std::size_t index = 0; index < count; ++index) {
        bind(valuesAt(index), statement.get());
        if (sqlite3_step(statement.get()) != SQLITE_DONE) {
            failWithCurrentMessage();
        }
        sqlite3_reset(statement.get());
    }
    // The statement still holds the last row's values: running it once more writes that row again,
    // which the upserts run here turn into no change.
    if (sqlite3_step(statement.get()) != SQLITE_DONE) {
        failWithCurrentMessage();
    }
}

void SQLDatabase::readRows(sqlite3_stmt* statement, const std::function<void(sqlite3_stmt*)>& readRow) {
    int result = sqlite3_step(statement);
    while (result == SQLITE_ROW) {
        readRow(statement);
        result = sqlite3_step(statement);
    }
    if (result != SQLITE_DONE) {
        failWithCurrentMessage();
    }
}

template <class Record, class Decode>
std::vector<Record> SQLDatabase::queryRecords(std::string_view sql, const SQLValues& values, Decode decode,
                                              std::size_t expectedRows) {
    const auto statement = prepare(sql);
    bind(values, statement.get());
    std::vector<Record> records;
    records.reserve(expectedRows);
    readRows(statement.get(), [&](sqlite3_stmt* row) {
        if (auto record = decode(row)) {
            records.push_back(std::move(*record));
        }
    });
    return records;
}

std::vector<LocalSong> SQLDatabase::querySongs(std::string_view sql, const SQLValues& values, std::size_t expectedRows) {
    return queryRecords<LocalSong>(sql, values, &LocalDatabase::songRow, expectedRows);
}

std::size_t SQLDatabase::rowCount(std::string_view table) {
    const auto statement = prepare("SELECT count(*) FROM " + std::string(table));
    if (sqlite3_step(statement.get()) != SQLITE_ROW) {
        failWithCurrentMessage();
    }
    return static_cast<std::size_t>(sqlite3_column_int64(statement.get(), 0));
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
    const auto statement = prepare(sql);
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

} // namespace MarrowbellCore
