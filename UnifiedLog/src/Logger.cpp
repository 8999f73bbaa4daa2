#include "UnifiedLog/Logger.h"

#include "UnifiedLog/LogStore.h"

#include <array>
#include <cstdio>

namespace UnifiedLog {
namespace {

constexpr std::array placeholders{std::string_view("%@"), std::string_view("%lld"), std::string_view("%ld"),
                                  std::string_view("%s"), std::string_view("%f"),   std::string_view("%d")};

std::size_t placeholderLength(std::string_view format, std::size_t position) {
    for (auto placeholder : placeholders) {
        if (format.substr(position, placeholder.size()) == placeholder) {
            return placeholder.size();
        }
    }
    return 0;
}

} // namespace

LogArgument::LogArgument(double number) {
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%f", number);
    text_ = buffer.data();
}

Logger::Logger(std::string subsystem, std::string category)
    : subsystem_(std::move(subsystem))
    , category_(std::move(category)) {}

void Logger::debug(std::string_view format, std::initializer_list<LogArgument> arguments) const {
    log(LogLevel::debug, format, arguments);
}
void Logger::info(std::string_view format, std::initializer_list<LogArgument> arguments) const {
    log(LogLevel::info, format, arguments);
}
void Logger::notice(std::string_view format, std::initializer_list<LogArgument> arguments) const {
    log(LogLevel::notice, format, arguments);
}
void Logger::error(std::string_view format, std::initializer_list<LogArgument> arguments) const {
    log(LogLevel::error, format, arguments);
}
void Logger::fault(std::string_view format, std::initializer_list<LogArgument> arguments) const {
    log(LogLevel::fault, format, arguments);
}

void Logger::log(LogLevel level, std::string_view format,
                 std::initializer_list<LogArgument> arguments) const {
    LogStore::shared().append(LogEntry{std::chrono::system_clock::now(), level, subsystem_, category_,
                                       std::string(format), formatLogMessage(format, arguments)});
}

std::string formatLogMessage(std::string_view format, std::initializer_list<LogArgument> arguments) {
    std::string message;
    message.reserve(format.size() + 32);
    auto next = arguments.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const auto length = format[i] == '%' ? placeholderLength(format, i) : 0;
        if (length > 0 && next != arguments.end()) {
            message += (next++)->text();
            i += length - 1;
        } else {
            message += format[i];
        }
    }
    return message;
}

} // namespace UnifiedLog
