#include "UsageStats/LogHandler.h"

#include <cstdio>

namespace UsageStats {

std::optional<LogLevel> logLevelFromRawValue(int rawValue) {
    if (rawValue < 0 || rawValue > 2) {
        return std::nullopt;
    }
    return static_cast<LogLevel>(rawValue);
}

std::string_view description(LogLevel level) {
    switch (level) {
    case LogLevel::debug:
        return "DEBUG";
    case LogLevel::info:
        return "INFO";
    case LogLevel::error:
        return "ERROR";
    }
    return "";
}

void LogHandler::log(LogLevel level, const std::string& message) const {
    if (accepts(level) && handler) {
        handler(level, message);
    }
}

LogHandler LogHandler::standard(LogLevel level) {
    return LogHandler{level, [](LogLevel messageLevel, const std::string& message) {
                          // One write per line, so lines from several threads do not interleave.
                          const std::string line = "[UsageStats: " + std::string(description(messageLevel)) +
                                                   "] " + message + "\n";
                          std::fwrite(line.data(), 1, line.size(), stdout);
                          std::fflush(stdout);
                      }};
}

void log(const std::optional<LogHandler>& logHandler, LogLevel level, const std::string& message) {
    if (logHandler) {
        logHandler->log(level, message);
    }
}

bool accepts(const std::optional<LogHandler>& logHandler, LogLevel level) {
    return logHandler && logHandler->accepts(level);
}

} // namespace UsageStats
