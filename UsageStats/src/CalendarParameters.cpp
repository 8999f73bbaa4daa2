#include "UsageStats/CalendarParameters.h"

#include <string>

namespace UsageStats {
namespace {

int isoWeekOfYear(const std::tm& local) {
    char text[4];
    std::strftime(text, sizeof text, "%V", &local);
    return std::stoi(text);
}

} // namespace

Parameters calendarParameters(const std::tm& local) {
    // tm_wday counts from Sunday 0; the parameters count from Monday 1 to Sunday 7.
    const int dayOfWeek = local.tm_wday == 0 ? 7 : local.tm_wday;
    return {
        {"UsageStats.Calendar.dayOfMonth", std::to_string(local.tm_mday)},
        {"UsageStats.Calendar.dayOfWeek", std::to_string(dayOfWeek)},
        {"UsageStats.Calendar.dayOfYear", std::to_string(local.tm_yday + 1)},
        {"UsageStats.Calendar.weekOfYear", std::to_string(isoWeekOfYear(local))},
        {"UsageStats.Calendar.isWeekend", dayOfWeek >= 6 ? "true" : "false"},
        {"UsageStats.Calendar.monthOfYear", std::to_string(local.tm_mon + 1)},
        {"UsageStats.Calendar.quarterOfYear", std::to_string(local.tm_mon / 3 + 1)},
        {"UsageStats.Calendar.hourOfDay", std::to_string(local.tm_hour + 1)},
    };
}

} // namespace UsageStats
