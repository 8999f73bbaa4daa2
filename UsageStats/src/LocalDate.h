#pragma once

#include "UsageStats/Clock.h"

#include <ctime>
#include <string>

namespace UsageStats {

/// The calendar fields of a time in the current time zone.
std::tm localCalendarTime(WallTime time);

/// The ISO 8601 full date ("2025-01-31") of a time in the current time zone.
std::string isoFullDateInLocalTimeZone(WallTime time);

} // namespace UsageStats
