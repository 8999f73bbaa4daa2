#pragma once

#include "LikeSearchIndex.h"
#include "MarrowbellCore/Store/LocalAlbum.h"
#include "MarrowbellCore/Store/LocalArtist.h"
#include "MarrowbellCore/Store/LocalPlaylist.h"
#include "MarrowbellCore/Store/LocalSong.h"
#include "MarrowbellCore/Store/SQLError.h"
#include "RecordSlices.h"
#include "SQLStatement.h"
#include "SQLStatementCache.h"
#include "SQLValue.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace MarrowbellCore {

/// The one connection to the store's SQLite file. Not thread-safe: only the store that owns it uses
/// it, one call at a time. Every operation resets or finalizes its statements before it returns; failures
/// throw SQLError with SQLite's message. A step that fails is always reported, never taken for the end.
///
/// Once SQLite reports the file damaged, every later call fails with that same error (kind `damaged`)
/// before reaching SQLite, so nothing more is written to the file, and closing leaves its write-ahead log
/// where it is instead of copying it into the file.
class SQLDatabase {
public:
    using DamageObserver = std::function<void(const SQLError&)>;
    enum class Access { readWrite, readOnly };

    /// Opens or creates the file; `readOnly` opens an existing file for reading only. Throws SQLError
    /// "Failed to open database", saying why when the file or its folder cannot be written.
    explicit SQLDatabase(std::string path, Access access = Access::readWrite);
    ~SQLDatabase();
    SQLDatabase(const SQLDatabase&) = delete;
    SQLDatabase& operator=(const SQLDatabase&) = delete;

    const std::string& path() const { return path_; }
    sqlite3* handle() const { return db_.get(); }

    /// A new statement, owned by the caller.
    SQLStatement prepare(std::string_view sql);
    /// A statement kept prepared for the next caller with the same text; it is reset when the handle goes.
    CachedStatement lend(std::string_view sql);
    /// Binds value i to parameter i + 1. Throws SQLError when SQLite refuses a value (no such parameter, a
    /// text too long).
    static void bind(const SQLValues& values, sqlite3_stmt* statement);

    /// Runs one statement that returns no rows.
    void execute(std::string_view sql);
    /// Runs a script of statements; rows they produce are discarded.
    void exec(const std::string& sql);
    /// Runs one statement per row with one prepared statement. `rows` must not be empty.
    template <class Row, class ValuesOf>
    void execute(std::string_view sql, const std::vector<Row>& rows, ValuesOf valuesOf) {
        executeBatch(sql, rows.size(), [&](std::size_t index) { return valuesOf(rows[index]); });
    }
    /// The same with the values of row `index` given by `valuesAt(index)`, for `count` rows.
    template <class ValuesAt> void executeBatch(std::string_view sql, std::size_t count, ValuesAt valuesAt) {
        const auto statement = lend(sql);
        for (std::size_t index = 0; index < count; ++index) {
            bind(valuesAt(index), statement.get());
            stepToCompletion(statement.get());
            sqlite3_reset(statement.get());
        }
        // The statement still holds the last row's values: running it once more writes that row again,
        // which the upserts run here turn into no change.
        stepToCompletion(statement.get());
    }

    /// The first column of the one row `sql` gives, as an integer.
    std::int64_t queryInteger(std::string_view sql);
    /// The first column of each row `sql` gives, as text (NULL as empty text).
    std::vector<std::string> queryTexts(std::string_view sql);

    std::vector<LocalSong> querySongs(std::string_view sql, const SQLValues& values = {});
    /// The same records in the slices in which they were decoded, for a caller that rearranges them anyway.
    RecordSlices<LocalSong> readSongs(std::string_view sql, const SQLValues& values = {});
    std::vector<LocalAlbum> queryAlbums(std::string_view sql, const SQLValues& values = {});
    std::vector<LocalArtist> queryArtists(std::string_view sql, const SQLValues& values = {});
    std::vector<LocalPlaylist> queryPlaylists(std::string_view sql, const SQLValues& values = {});
    /// For each row of (artist name, album title): whether the artist equals `artist` or else the album
    /// equals `album`, NULL and absent counting as empty text.
    std::vector<bool> queryMatches(std::string_view sql, const SQLValues& values,
                                   const std::optional<std::string>& artist,
                                   const std::optional<std::string>& album);

    /// The index of the rows and text that `scanSQL` gives (see LikeSearchIndex), made on first use.
    LikeSearchIndex& likeSearchIndex(std::string_view scanSQL);

    /// Closes the connection; every later call fails with SQLError. Throws SQLError when SQLite cannot close
    /// it (the connection is then let go once nothing uses it any more).
    void close();

    /// Throws SQLError with the connection's current message.
    [[noreturn]] void failWithCurrentMessage() const;
    /// Throws the SQLError of SQLite's result `code` with `message`, noting damage.
    [[noreturn]] void failWith(int code, const std::string& message) const;
    /// From now on every call fails with `error` (the first damage SQLite reported, or a failed check of the
    /// file) and closing leaves the write-ahead log as it is. The damage observer hears of the first one.
    void stopUsingFile(const SQLError& error) const;
    /// Makes closing leave the write-ahead log beside the file instead of copying it in.
    void leaveLogAtClose() const;

    /// Runs `write` so that a stop request interrupts SQLite itself, in a long statement, a commit or the
    /// copy of the log into the file that follows a big commit. What a stop interrupted throws
    /// CancellationError, and the log is then left for the next open to copy, so that a close stays prompt.
    void writeStoppably(const std::stop_token& stopToken, const std::function<void()>& write);

    /// Whether SQLite has reported the file damaged.
    bool isDamaged() const { return damage_.has_value(); }
    /// Calls `observer(error)` once, on the thread that met it, when SQLite first reports the file damaged.
    /// The observer must not call back into the store.
    void setDamageObserver(DamageObserver observer) { damageObserver_ = std::move(observer); }

    /// Throws SQLError once the connection is closed or the file found damaged: the store is not used after
    /// close(), and a closed handle must never reach SQLite.
    void ensureOpen() const;

    /// Steps `statement` to its end, handing each row to `readRow(statement)`; a step that fails throws.
    template <class ReadRow> void readRows(sqlite3_stmt* statement, ReadRow&& readRow) const {
        int result = sqlite3_step(statement);
        for (; result == SQLITE_ROW; result = sqlite3_step(statement)) {
            readRow(statement);
        }
        if (result != SQLITE_DONE) {
            failWithCurrentMessage();
        }
    }

private:
    /// Steps a statement that returns no rows; anything but completion throws.
    void stepToCompletion(sqlite3_stmt* statement) const;
    template <class Record, class Decode>
    std::vector<Record> queryRecords(std::string_view sql, const SQLValues& values, Decode decode);
    /// The script `sql` as one kept statement, or nothing when it holds more or less than one.
    std::optional<CachedStatement> lendSingleStatement(const std::string& sql);
    /// Rethrows a failed preparation, as the damage error when that is what SQLite met.
    [[noreturn]] void failPreparing(const SQLError& error) const;

    /// Lets a connection go even while a statement is still open: SQLite closes it once the last one is
    /// finalized.
    struct ConnectionCloser {
        void operator()(sqlite3* connection) const { sqlite3_close_v2(connection); }
    };

    std::unique_ptr<sqlite3, ConnectionCloser> db_;
    std::string path_;
    SQLStatementCache statements_;
    std::map<std::string, LikeSearchIndex, std::less<>> likeSearchIndexes_;
    mutable std::optional<SQLError> damage_;
    DamageObserver damageObserver_;
};

} // namespace MarrowbellCore
