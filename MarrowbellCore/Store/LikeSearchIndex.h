#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace MarrowbellCore {

class SQLDatabase;

/// An in-memory copy of one searched text column. It answers "WHERE <condition> AND <column> LIKE ? LIMIT ?"
/// over a whole table with the keys of exactly the rows SQLite's full scan gives, in the same (key) order,
/// without reading the table. One scan fills it; it is filled again when the file has changed since, by this
/// or any connection.
class LikeSearchIndex {
public:
    /// `scanSQL` gives, in key order, each row's key, the searched column and whether the row meets the
    /// condition (1 when it does).
    explicit LikeSearchIndex(std::string scanSQL);

    /// The keys of the first `limit` rows (every row for a negative limit) that meet the condition and whose
    /// text is LIKE `pattern`. Nothing when only SQLite can answer: in a transaction that has written, for a
    /// pattern longer than SQLite accepts, or when the scan fails (a missing table, say).
    std::optional<std::vector<std::int64_t>> matchingKeys(SQLDatabase& db, const std::string& pattern,
                                                          std::int64_t limit);

private:
    struct Version {
        std::uint32_t file = 0;
        std::int64_t changes = 0;
        bool operator==(const Version&) const = default;
    };

    static Version currentVersion(SQLDatabase& db);
    void fill(SQLDatabase& db);

    std::string scanSQL_;
    std::optional<Version> version_;
    /// The texts of the rows that can match, each ending with a NUL, in key order.
    std::string texts_;
    std::vector<std::int64_t> keys_;
    std::vector<std::size_t> offsets_;
};

} // namespace MarrowbellCore
