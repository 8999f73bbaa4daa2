#pragma once

#include "SQLStatement.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace MarrowbellCore {

/// Prepares `sql` on `db` with SQLite's `flags`. Throws SQLError with the connection's message.
SQLStatement prepareStatement(sqlite3* db, std::string_view sql, unsigned flags = 0);

/// A statement lent by SQLStatementCache: when the handle goes it is reset and its bindings are cleared, so
/// the next user finds it as freshly prepared. A statement that was already lent out is prepared anew and
/// finalized instead.
class CachedStatement {
public:
    CachedStatement(sqlite3_stmt* statement, bool* lent);
    explicit CachedStatement(SQLStatement uncached);
    ~CachedStatement();
    CachedStatement(CachedStatement&& other) noexcept;
    CachedStatement& operator=(CachedStatement&&) = delete;

    sqlite3_stmt* get() const { return statement_; }

private:
    sqlite3_stmt* statement_;
    bool* lent_ = nullptr;
    SQLStatement uncached_;
};

/// Prepared statements kept for reuse, keyed by their SQL text, so that a statement run again and again (an
/// upsert per write, a link batch per owner) is parsed once. It keeps a few: the least recently used idle one
/// goes first.
class SQLStatementCache {
public:
    explicit SQLStatementCache(sqlite3* db)
        : db_(db) {}

    /// Throws SQLError when the statement cannot be prepared.
    CachedStatement lend(std::string_view sql);
    /// Adds an already prepared statement, lent at once.
    CachedStatement adopt(std::string_view sql, SQLStatement statement);
    bool contains(std::string_view sql) const;
    /// Finalizes every kept statement; none may be lent out.
    void clear() { entries_.clear(); }

private:
    struct Entry {
        std::string sql;
        SQLStatement statement;
        bool lent = false;
        std::uint64_t lastUse = 0;
    };
    static constexpr std::size_t capacity = 24;

    Entry* find(std::string_view sql) const;
    void makeRoom();

    sqlite3* db_;
    std::vector<std::unique_ptr<Entry>> entries_;
    std::uint64_t clock_ = 0;
};

} // namespace MarrowbellCore
