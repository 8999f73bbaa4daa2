#include "SQLStatementCache.h"

#include "MarrowbellCore/Store/SQLError.h"

#include <utility>

namespace MarrowbellCore {

SQLStatement prepareStatement(sqlite3* db, std::string_view sql, unsigned flags) {
    sqlite3_stmt* statement = nullptr;
    const std::string text(sql);
    if (sqlite3_prepare_v3(db, text.c_str(), -1, flags, &statement, nullptr) != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(db);
        sqlite3_finalize(statement);
        throw SQLError(message);
    }
    if (!statement) {
        throw SQLError("The SQL text holds no statement.");
    }
    return SQLStatement(statement);
}

CachedStatement::CachedStatement(sqlite3_stmt* statement, bool* lent)
    : statement_(statement)
    , lent_(lent) {
    *lent_ = true;
}

CachedStatement::CachedStatement(SQLStatement uncached)
    : statement_(uncached.get())
    , uncached_(std::move(uncached)) {}

CachedStatement::CachedStatement(CachedStatement&& other) noexcept
    : statement_(other.statement_)
    , lent_(std::exchange(other.lent_, nullptr))
    , uncached_(std::move(other.uncached_)) {}

CachedStatement::~CachedStatement() {
    if (lent_) {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
        *lent_ = false;
    }
}

CachedStatement SQLStatementCache::lend(std::string_view sql) {
    if (auto* entry = find(sql)) {
        if (!entry->lent) {
            entry->lastUse = ++clock_;
            return CachedStatement(entry->statement.get(), &entry->lent);
        }
        return CachedStatement(prepareStatement(db_, sql));
    }
    return adopt(sql, prepareStatement(db_, sql, SQLITE_PREPARE_PERSISTENT));
}

CachedStatement SQLStatementCache::adopt(std::string_view sql, SQLStatement statement) {
    makeRoom();
    auto& entry =
        entries_.emplace_back(std::make_unique<Entry>(Entry{std::string(sql), std::move(statement)}));
    entry->lastUse = ++clock_;
    return CachedStatement(entry->statement.get(), &entry->lent);
}

bool SQLStatementCache::contains(std::string_view sql) const {
    return find(sql) != nullptr;
}

SQLStatementCache::Entry* SQLStatementCache::find(std::string_view sql) const {
    for (const auto& entry : entries_) {
        if (entry->sql == sql) {
            return entry.get();
        }
    }
    return nullptr;
}

void SQLStatementCache::makeRoom() {
    if (entries_.size() < capacity) {
        return;
    }
    auto oldestIdle = entries_.end();
    for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
        if (!(*entry)->lent && (oldestIdle == entries_.end() || (*entry)->lastUse < (*oldestIdle)->lastUse)) {
            oldestIdle = entry;
        }
    }
    if (oldestIdle != entries_.end()) {
        entries_.erase(oldestIdle);
    }
}

} // namespace MarrowbellCore
