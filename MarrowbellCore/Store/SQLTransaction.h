#pragma once

#include "SQLDatabase.h"

namespace MarrowbellCore {

/// Makes one store write all or nothing: its statements commit together when it succeeds and are rolled
/// back when it throws. Savepoints nest, so a write made of other writes stays one transaction.
class SQLTransaction {
public:
    explicit SQLTransaction(SQLDatabase& db);
    ~SQLTransaction();
    SQLTransaction(const SQLTransaction&) = delete;
    SQLTransaction& operator=(const SQLTransaction&) = delete;

    void commit();

private:
    SQLDatabase& db_;
    bool finished_ = false;
};

/// Makes the reads made while it lives answer from one state of the file, whatever other connections commit
/// meanwhile. Reads only: it commits nothing.
class SQLReadSnapshot {
public:
    explicit SQLReadSnapshot(SQLDatabase& db);
    ~SQLReadSnapshot();
    SQLReadSnapshot(const SQLReadSnapshot&) = delete;
    SQLReadSnapshot& operator=(const SQLReadSnapshot&) = delete;

private:
    SQLDatabase& db_;
};

/// Runs `write` inside one transaction on `db` and gives its result.
template <class Write> auto inTransaction(SQLDatabase& db, Write&& write) {
    SQLTransaction transaction(db);
    if constexpr (std::is_void_v<decltype(write())>) {
        write();
        transaction.commit();
    } else {
        auto result = write();
        transaction.commit();
        return result;
    }
}

} // namespace MarrowbellCore
