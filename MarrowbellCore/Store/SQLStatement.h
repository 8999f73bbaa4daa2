#pragma once

#include <memory>
#include <sqlite3.h>

namespace MarrowbellCore {

struct SQLStatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

/// A prepared statement, finalized when its owner lets it go.
using SQLStatement = std::unique_ptr<sqlite3_stmt, SQLStatementFinalizer>;

} // namespace MarrowbellCore
