#include "LikeSearchIndex.h"

#include "LikeMatcher.h"
#include "MarrowbellCore/Store/SQLError.h"
#include "SQLDatabase.h"

#include <cstring>

namespace MarrowbellCore {
namespace {

/// Whether the column's value can match at all: LIKE gives NULL for a NULL text and, as SQLite is built here,
/// false for a blob.
bool canMatch(sqlite3_stmt* statement, int column) {
    static const bool blobsNeverMatch = sqlite3_compileoption_used("LIKE_DOESNT_MATCH_BLOBS") != 0;
    const int type = sqlite3_column_type(statement, column);
    return type != SQLITE_NULL && !(type == SQLITE_BLOB && blobsNeverMatch);
}

} // namespace

LikeSearchIndex::LikeSearchIndex(std::string scanSQL)
    : scanSQL_(std::move(scanSQL)) {}

std::optional<std::vector<std::int64_t>>
LikeSearchIndex::matchingKeys(SQLDatabase& db, const std::string& pattern, std::int64_t limit) {
    // SQLite binds the pattern up to its first NUL and refuses one longer than its limit with an error of its
    // own.
    const auto patternLength = std::strlen(pattern.c_str());
    const int lengthLimit = sqlite3_limit(db.handle(), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1);
    // Rows written in a transaction not yet committed may still be rolled back, which no version shows.
    if (sqlite3_txn_state(db.handle(), "main") == SQLITE_TXN_WRITE ||
        patternLength > static_cast<std::size_t>(lengthLimit)) {
        return std::nullopt;
    }
    try {
        if (const auto version = currentVersion(db); version != version_) {
            fill(db);
            version_ = version;
        }
    } catch (const SQLError&) {
        // The search statement will report the fault in its own words.
        return std::nullopt;
    }
    std::vector<std::int64_t> keys;
    for (std::size_t index = 0;
         index < keys_.size() && (limit < 0 || keys.size() < static_cast<std::size_t>(limit)); ++index) {
        if (LikeMatcher::matches(pattern.c_str(), texts_.data() + offsets_[index])) {
            keys.push_back(keys_[index]);
        }
    }
    return keys;
}

LikeSearchIndex::Version LikeSearchIndex::currentVersion(SQLDatabase& db) {
    // Reading the data version starts a read, which is when SQLite notices commits of other connections.
    const auto statement = db.lend("PRAGMA data_version");
    if (sqlite3_step(statement.get()) != SQLITE_ROW) {
        db.failWithCurrentMessage();
    }
    Version version;
    sqlite3_file_control(db.handle(), "main", SQLITE_FCNTL_DATA_VERSION, &version.file);
    // Counts this connection's changes still inside a transaction as well.
    version.changes = sqlite3_total_changes64(db.handle());
    return version;
}

void LikeSearchIndex::fill(SQLDatabase& db) {
    version_.reset();
    texts_.clear();
    keys_.clear();
    offsets_.clear();
    const auto statement = db.lend(scanSQL_);
    db.readRows(statement.get(), [&](sqlite3_stmt* row) {
        if (!canMatch(row, 1) || sqlite3_column_int64(row, 2) != 1) {
            return;
        }
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, 1));
        keys_.push_back(sqlite3_column_int64(row, 0));
        offsets_.push_back(texts_.size());
        texts_.append(text ? text : "");
        texts_.push_back('\0');
    });
}

} // namespace MarrowbellCore
