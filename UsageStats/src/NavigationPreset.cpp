#include "UsageStats/NavigationPreset.h"

#include "UsageStats/UsageStats.h"

#include <mutex>

namespace UsageStats {
namespace {

struct NavigationState {
    std::mutex mutex;
    std::optional<std::string> previousNavigationPath;
};

NavigationState& navigationState() {
    static NavigationState state;
    return state;
}

} // namespace

std::optional<std::string> NavigationStatus::previousNavigationPath() {
    auto& state = navigationState();
    std::lock_guard lock(state.mutex);
    return state.previousNavigationPath;
}

void navigationPathChanged(const std::string& source, const std::string& destination,
                           std::optional<std::string> customUserID) {
    {
        auto& state = navigationState();
        std::lock_guard lock(state.mutex);
        state.previousNavigationPath = destination;
    }
    internalSignal("UsageStats.Navigation.pathChanged",
                   {{"UsageStats.Navigation.schemaVersion", "1"},
                    {"UsageStats.Navigation.identifier", source + " -> " + destination},
                    {"UsageStats.Navigation.sourcePath", source},
                    {"UsageStats.Navigation.destinationPath", destination}},
                   std::nullopt, std::move(customUserID));
}

void navigationPathChangedTo(const std::string& destination, std::optional<std::string> customUserID) {
    navigationPathChanged(NavigationStatus::previousNavigationPath().value_or(""), destination,
                          std::move(customUserID));
}

} // namespace UsageStats
