#include "UnifiedLog/LogStore.h"

#include <cstdio>

namespace UnifiedLog {

const char* logLevelName(LogLevel level) {
    switch (level) {
    case LogLevel::debug:
        return "debug";
    case LogLevel::info:
        return "info";
    case LogLevel::notice:
        return "notice";
    case LogLevel::error:
        return "error";
    case LogLevel::fault:
        return "fault";
    }
    return "notice";
}

LogStore& LogStore::shared() {
    static LogStore store;
    return store;
}

void LogStore::append(LogEntry entry) {
    std::lock_guard lock(mutex_);
    if (echoToStandardError_ && entry.level >= LogLevel::error) {
        std::fprintf(stderr, "[%s:%s] %s: %s\n", entry.subsystem.c_str(), entry.category.c_str(),
                     logLevelName(entry.level), entry.message.c_str());
    }
    if (entries_.size() == capacity) {
        entries_.pop_front();
    }
    entries_.push_back(std::move(entry));
}

std::vector<LogEntry> LogStore::entries(LogLevel minimumLevel, const std::string& subsystem) const {
    std::lock_guard lock(mutex_);
    std::vector<LogEntry> selected;
    for (const auto& entry : entries_) {
        if (entry.level >= minimumLevel && (subsystem.empty() || entry.subsystem == subsystem)) {
            selected.push_back(entry);
        }
    }
    return selected;
}

void LogStore::removeAll() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}

void LogStore::setEchoToStandardError(bool echo) {
    std::lock_guard lock(mutex_);
    echoToStandardError_ = echo;
}

} // namespace UnifiedLog
