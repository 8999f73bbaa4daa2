#include "StoreTestSupport.h"

#include "MarrowbellCore/Logging/Loggers.h"

#include <UnifiedLog/LogStore.h>
#include <cstdlib>
#include <sqlite3.h>
#include <stdexcept>

namespace MarrowbellCore::Testing {

TemporaryDirectory::TemporaryDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "marrowbell-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("Could not create a temporary directory");
    }
    path_ = pattern;
}

TemporaryDirectory::~TemporaryDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void resetLog() {
    UnifiedLog::LogStore::shared().setEchoToStandardError(false);
    UnifiedLog::LogStore::shared().removeAll();
}

std::vector<UnifiedLog::LogEntry> coreLogEntries() {
    return UnifiedLog::LogStore::shared().entries(UnifiedLog::LogLevel::debug, Loggers::subsystem);
}

std::vector<std::string> queryText(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error(message);
    }
    std::vector<std::string> rows;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const auto* text = sqlite3_column_text(statement, 0);
        rows.emplace_back(text ? reinterpret_cast<const char*>(text) : "NULL");
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

} // namespace MarrowbellCore::Testing
