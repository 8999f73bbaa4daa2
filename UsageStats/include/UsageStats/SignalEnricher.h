#pragma once

#include "UsageStats/Parameters.h"

#include <optional>
#include <string>
#include <string_view>

namespace UsageStats {

/// Adds parameters to every signal. Called on the client's worker, once per signal.
class SignalEnricher {
public:
    virtual ~SignalEnricher() = default;
    /// `customUserID` is the caller's identifier as given (not hashed), or nothing.
    virtual Parameters additionalParameters(std::string_view signalType,
                                            const std::optional<std::string>& customUserID,
                                            std::optional<double> floatValue) = 0;
};

} // namespace UsageStats
