#include "UsageStats/ErrorPreset.h"

#include "UsageStats/UsageStats.h"

namespace UsageStats {

void errorOccurred(const std::string& id, std::optional<ErrorCategory> category,
                   std::optional<std::string> message, const Parameters& parameters,
                   std::optional<double> floatValue, std::optional<std::string> customUserID) {
    Parameters merged{{"UsageStats.Error.id", id}};
    if (category) {
        merged.emplace("UsageStats.Error.category", std::string(rawValue(*category)));
    }
    if (message) {
        merged.emplace("UsageStats.Error.message", std::move(*message));
    }
    mergeOver(merged, parameters);
    internalSignal("UsageStats.Error.occurred", merged, floatValue, std::move(customUserID));
}

void errorOccurred(const IdentifiableError& identifiableError, ErrorCategory category,
                   const Parameters& parameters, std::optional<double> floatValue,
                   std::optional<std::string> customUserID) {
    errorOccurred(identifiableError.id(), category, std::string(identifiableError.what()), parameters,
                  floatValue, std::move(customUserID));
}

void errorOccurredWithMessage(const IdentifiableError& identifiableError, ErrorCategory category,
                              std::optional<std::string> message, const Parameters& parameters,
                              std::optional<double> floatValue, std::optional<std::string> customUserID) {
    errorOccurred(identifiableError.id(), category, std::move(message), parameters, floatValue,
                  std::move(customUserID));
}

} // namespace UsageStats
