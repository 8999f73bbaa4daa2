#pragma once

#include <optional>
#include <string>

namespace UsageStats {

/// The destination of the last navigation signal of the process.
struct NavigationStatus {
    static std::optional<std::string> previousNavigationPath();
};

/// Sends "UsageStats.Navigation.pathChanged" from `source` to `destination` and remembers the destination.
void navigationPathChanged(const std::string& source, const std::string& destination,
                           std::optional<std::string> customUserID = std::nullopt);

/// As above, from the previous destination (or "" when there is none).
void navigationPathChangedTo(const std::string& destination,
                             std::optional<std::string> customUserID = std::nullopt);

} // namespace UsageStats
