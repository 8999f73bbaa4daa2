#pragma once

#include "UsageStats/ErrorCategory.h"
#include "UsageStats/IdentifiableError.h"
#include "UsageStats/Parameters.h"

#include <optional>
#include <string>

namespace UsageStats {

/// Sends "UsageStats.Error.occurred" with "UsageStats.Error.id", "UsageStats.Error.category" (when given)
/// and "UsageStats.Error.message" (when given); the caller's parameters win over those. Any thread.
void errorOccurred(const std::string& id, std::optional<ErrorCategory> category = std::nullopt,
                   std::optional<std::string> message = std::nullopt, const Parameters& parameters = {},
                   std::optional<double> floatValue = std::nullopt,
                   std::optional<std::string> customUserID = std::nullopt);

/// As above with the error's identifier and its description as the message.
void errorOccurred(const IdentifiableError& identifiableError, ErrorCategory category,
                   const Parameters& parameters = {}, std::optional<double> floatValue = std::nullopt,
                   std::optional<std::string> customUserID = std::nullopt);

/// As above with the given message instead of the error's description.
void errorOccurredWithMessage(const IdentifiableError& identifiableError, ErrorCategory category,
                              std::optional<std::string> message, const Parameters& parameters = {},
                              std::optional<double> floatValue = std::nullopt,
                              std::optional<std::string> customUserID = std::nullopt);

} // namespace UsageStats
