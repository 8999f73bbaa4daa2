#include "SQLTransaction.h"

#include "MarrowbellCore/Logging/Loggers.h"
#include "MarrowbellCore/Store/SQLError.h"

namespace MarrowbellCore {

SQLTransaction::SQLTransaction(SQLDatabase& db)
    : db_(db) {
    db_.exec("SAVEPOINT store_write");
}

SQLTransaction::~SQLTransaction() {
    if (finished_) {
        return;
    }
    try {
        db_.exec("ROLLBACK TO store_write; RELEASE store_write");
    } catch (const SQLError& error) {
        Loggers::store().error("Failed to roll back a store write: %@", {error});
    }
}

void SQLTransaction::commit() {
    db_.exec("RELEASE store_write");
    finished_ = true;
}

SQLReadSnapshot::SQLReadSnapshot(SQLDatabase& db)
    : db_(db) {
    db_.exec("SAVEPOINT store_read");
}

SQLReadSnapshot::~SQLReadSnapshot() {
    // A failed statement may have ended the transaction already.
    if (sqlite3_get_autocommit(db_.handle())) {
        return;
    }
    try {
        db_.exec("RELEASE store_read");
    } catch (const SQLError& error) {
        Loggers::store().error("Failed to end a store read: %@", {error});
    }
}

} // namespace MarrowbellCore
