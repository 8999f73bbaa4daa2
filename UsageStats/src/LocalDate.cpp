#include "LocalDate.h"

#include <cstdio>

namespace UsageStats {

std::tm localCalendarTime(WallTime time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    localtime_r(&seconds, &local);
    return local;
}

std::string isoFullDateInLocalTimeZone(WallTime time) {
    const std::tm local = localCalendarTime(time);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return text;
}

} // namespace UsageStats
