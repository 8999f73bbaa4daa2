#pragma once

#include "SQLStatement.h"
#include "SQLValue.h"

#include "MarrowbellCore/LocalAlbum.h"
#include "MarrowbellCore/LocalArtist.h"
#include "MarrowbellCore/LocalPlaylist.h"
#include "MarrowbellCore/LocalSong.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace MarrowbellCore {

/// The one connection to the store's SQLite file. Not thread-safe: only the store that owns it uses
/// it, one call at a time. Every operation finalizes its statements before it returns; failures throw
/// SQLError with SQLite's message. A step that fails is always reported, never taken for the end.
class SQLDatabase {
public:
    /// Opens or creates the file. Throws SQLError "Failed to open database".
    explicit SQLDatabase(std::string path);
    ~SQLDatabase();
    SQLDatabase(const SQLDatabase&) = delete;
    SQLDatabase& operator=(const SQLDatabase&) = delete;

    const std::string& path() const { return path_; }
    sqlite3* handle() const { return db_; }

    SQLStatement prepare(std::string_view sql);
    /// Binds value i to parameter i + 1; never fails.
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
    void executeBatch(std::string_view sql, std::size_t count, const std::function<SQLValues(std::size_t)>& valuesAt);

    /// `expectedRows` only sizes the result up front, so that a large read does not move its records.
    std::vector<LocalSong> querySongs(std::string_view sql, const SQLValues& values = {}, std::size_t expectedRows = 0);
    std::vector<LocalAlbum> queryAlbums(std::string_view sql, const SQLValues& values = {});
    std::vector<LocalArtist> queryArtists(std::string_view sql, const SQLValues& values = {});
    std::vector<LocalPlaylist> queryPlaylists(std::string_view sql, const SQLValues& values = {});
    /// For each row of (artist name, album title): whether the artist equals `artist` or else the album
    /// equals `album`, NULL and absent counting as empty text.
    std::vector<bool> queryMatches(std::string_view sql, const SQLValues& values,
                                   const std::optional<std::string>& artist, const std::optional<std::string>& album);

    /// The number of rows of `table`, to size a full read.
    std::size_t rowCount(std::string_view table);

    /// Closes the connection; the object must not be used afterwards.
    void close();

    /// Throws SQLError with the connection's current message.
    [[noreturn]] void failWithCurrentMessage() const;

private:
    /// Steps `statement` to its end, handing each row to `readRow`.
    void readRows(sqlite3_stmt* statement, const std::function<void(sqlite3_stmt*)>& readRow);
    template <class Record, class Decode>
    std::vector<Record> queryRecords(std::string_view sql, const SQLValues& values, Decode decode,
                                     std::size_t expectedRows = 0);

    sqlite3* db_ = nullptr;
    std::string path_;
};

} // namespace MarrowbellCore
