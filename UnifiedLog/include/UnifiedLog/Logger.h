#pragma once

#include "UnifiedLog/LogEntry.h"

#include <concepts>
#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>

namespace UnifiedLog {

/// One argument of a log message, turned into text the way the placeholder would print it.
class LogArgument {
public:
    LogArgument(std::string_view text)
        : text_(text) {}
    LogArgument(const std::string& text)
        : text_(text) {}
    LogArgument(const char* text)
        : text_(text ? text : "(null)") {}
    LogArgument(const std::exception& error)
        : text_(error.what()) {}
    LogArgument(double number);
    template <std::integral Integer>
    requires(!std::same_as<Integer, bool> && !std::same_as<Integer, char>) LogArgument(Integer number)
        : text_(std::to_string(number)) {}

    const std::string& text() const { return text_; }

private:
    std::string text_;
};

/// A logger of one subsystem and category, as the platform's unified log has them.
/// Messages use printf-like placeholders ("%@", "%s", "%f", "%d", "%ld", "%lld"), filled in order.
/// Writing is thread-safe; entries go to the process-wide LogStore.
class Logger {
public:
    Logger(std::string subsystem, std::string category);

    void debug(std::string_view format, std::initializer_list<LogArgument> arguments = {}) const;
    void info(std::string_view format, std::initializer_list<LogArgument> arguments = {}) const;
    void notice(std::string_view format, std::initializer_list<LogArgument> arguments = {}) const;
    void error(std::string_view format, std::initializer_list<LogArgument> arguments = {}) const;
    void fault(std::string_view format, std::initializer_list<LogArgument> arguments = {}) const;

    void log(LogLevel level, std::string_view format, std::initializer_list<LogArgument> arguments) const;

    const std::string& subsystem() const { return subsystem_; }
    const std::string& category() const { return category_; }

private:
    std::string subsystem_;
    std::string category_;
};

/// Fills the placeholders of `format` with `arguments` in order; missing arguments leave the placeholder.
std::string formatLogMessage(std::string_view format, std::initializer_list<LogArgument> arguments);

} // namespace UnifiedLog
