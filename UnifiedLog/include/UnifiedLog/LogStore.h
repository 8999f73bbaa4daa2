#pragma once

#include "UnifiedLog/LogEntry.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

namespace UnifiedLog {

/// The process-wide store of recent log entries. Thread-safe. Keeps the newest `capacity` entries;
/// entries at error level and above are also echoed to standard error unless echoing is turned off.
class LogStore {
public:
    static LogStore& shared();

    void append(LogEntry entry);
    /// Entries at `minimumLevel` or above, oldest first, optionally of one subsystem only.
    std::vector<LogEntry> entries(LogLevel minimumLevel = LogLevel::debug,
                                  const std::string& subsystem = {}) const;
    void removeAll();

    void setEchoToStandardError(bool echo);

    static constexpr std::size_t capacity = 10000;

private:
    mutable std::mutex mutex_;
    std::deque<LogEntry> entries_;
    bool echoToStandardError_ = true;
};

} // namespace UnifiedLog
