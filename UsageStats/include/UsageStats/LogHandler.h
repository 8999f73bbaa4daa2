#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace UsageStats {

/// Levels rank by raw value: debug < info < error.
enum class LogLevel { debug = 0, info = 1, error = 2 };

/// The level of a raw value, or nothing outside 0 to 2.
std::optional<LogLevel> logLevelFromRawValue(int rawValue);

/// "DEBUG", "INFO" or "ERROR".
std::string_view description(LogLevel level);

/// Where the client writes its messages: a minimum level and an output function that may be called from
/// any thread of the client, sometimes while the client holds a lock, so it must not call back into the
/// client.
struct LogHandler {
    LogLevel logLevel = LogLevel::info;
    std::function<void(LogLevel, const std::string&)> handler;

    /// Whether a message of this level reaches the output.
    bool accepts(LogLevel level) const { return static_cast<int>(level) >= static_cast<int>(logLevel); }

    /// Applies the delivery rule, then calls the output.
    void log(LogLevel level, const std::string& message) const;

    /// Prints "[UsageStats: LEVEL] message" as one line on standard output.
    static LogHandler standard(LogLevel level);
};

/// Logs through an optional handler; without one nothing is written.
void log(const std::optional<LogHandler>& logHandler, LogLevel level, const std::string& message);

/// Whether an optional handler would output a message of this level (to skip building costly messages).
bool accepts(const std::optional<LogHandler>& logHandler, LogLevel level);

} // namespace UsageStats
