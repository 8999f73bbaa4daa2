#pragma once

#include "UsageStats/Parameters.h"

namespace UsageStats {

class UsageStatsConfiguration;

/// Puts the configuration's `defaultParameterPrefix` in front of every key that does not begin with
/// "UsageStats." (exact letter case).
Parameters prefixedParameters(const Parameters& parameters, const UsageStatsConfiguration& configuration);

} // namespace UsageStats
