#include "UsageStats/ParameterPrefix.h"

#include "UsageStats/UsageStatsConfiguration.h"

namespace UsageStats {

Parameters prefixedParameters(const Parameters& parameters, const UsageStatsConfiguration& configuration) {
    const std::string prefix = configuration.defaultParameterPrefix().value_or("");
    Parameters prefixed;
    for (const auto& [key, value] : parameters) {
        const bool ownKey = key.rfind("UsageStats.", 0) == 0;
        prefixed.insert_or_assign(ownKey ? key : prefix + key, value);
    }
    return prefixed;
}

} // namespace UsageStats
