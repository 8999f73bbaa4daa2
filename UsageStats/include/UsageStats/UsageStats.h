#pragma once

#include "UsageStats/Parameters.h"

#include <memory>
#include <optional>
#include <string>

namespace UsageStats {

class UsageStatsConfiguration;

/// Starts the client: builds its manager from the configuration and makes it the shared one. An earlier
/// manager is stopped first and hands its cache over. Signals sent before the first call are kept (the
/// most recent 500) and sent now.
void initialize(std::shared_ptr<UsageStatsConfiguration> config);

/// Stops the shared manager (timers, observers, uploads in flight go back) after saving its cache, and
/// forgets it; a later `initialize` takes the cache over.
void terminate();

/// Sends one usage signal through the gates (preview, analytics off), the signal and parameter prefixes
/// and the reserved-name checks. Returns at once; never throws; any thread.
void signal(const std::string& signalType, const Parameters& parameters = {},
            std::optional<double> floatValue = std::nullopt,
            std::optional<std::string> customUserID = std::nullopt);

/// The client's own send: gates and default parameters, no signal prefix and no check of the caller's
/// parameters.
void internalSignal(const std::string& signalType, const Parameters& parameters = {},
                    std::optional<double> floatValue = std::nullopt,
                    std::optional<std::string> customUserID = std::nullopt);

void updateDefaultUserID(std::optional<std::string> user);

/// Begins a new session with a new random identifier.
void generateNewSession();

/// Sends the next batch 50 ms from now, at most once per 10 seconds.
void requestImmediateSync();

} // namespace UsageStats
