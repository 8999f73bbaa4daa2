#pragma once

#include <chrono>
#include <string>

namespace UnifiedLog {

enum class LogLevel { debug, info, notice, error, fault };

struct LogEntry {
    std::chrono::system_clock::time_point time;
    LogLevel level = LogLevel::notice;
    std::string subsystem;
    std::string category;
    /// The message as written, placeholders unfilled ("Failed to load songs: %@").
    std::string format;
    /// The message with its arguments filled in.
    std::string message;
};

const char* logLevelName(LogLevel level);

} // namespace UnifiedLog
