#pragma once

#include <UnifiedLog/LogEntry.h>
#include <filesystem>
#include <string>
#include <vector>

namespace MarrowbellCore::Testing {

/// A folder under the system's temporary directory, removed with everything in it at the end.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

/// Empties the process log store and keeps errors off the console while a test runs.
void resetLog();
/// The log entries written since the last reset, of the core's subsystem.
std::vector<UnifiedLog::LogEntry> coreLogEntries();

/// Runs one SQL statement on a separate connection to `path` and gives the first column of each row as text.
std::vector<std::string> queryText(const std::string& path, const std::string& sql);

} // namespace MarrowbellCore::Testing
