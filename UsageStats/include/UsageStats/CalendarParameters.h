#pragma once

#include "UsageStats/Parameters.h"

#include <ctime>

namespace UsageStats {

/// The eight "UsageStats.Calendar." parameters of a local time: days of week numbered Monday 1 to Sunday 7,
/// weeks of the year by ISO 8601, hours 1 to 24. `local` must be normalised (as `localtime_r` gives it).
Parameters calendarParameters(const std::tm& local);

} // namespace UsageStats
