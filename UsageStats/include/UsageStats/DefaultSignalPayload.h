#pragma once

#include "UsageStats/Clock.h"
#include "UsageStats/Parameters.h"

#include <string>

namespace UsageStats {

class PlatformFacts;

/// The default parameters that travel with every signal: application, device, run context, user
/// preferences and calendar. The acquisition and retention figures come from the session manager and are
/// merged in by the caller.
struct DefaultSignalPayload {
    /// Reads the platform facts (main thread) and the local calendar at `now`.
    static Parameters parameters(const PlatformFacts& facts, WallTime now);

    /// "UTC" and the offset from GMT: UTC+0, UTC+2, UTC+5:30, UTC-3:30.
    static std::string timeZoneText(long offsetSeconds);
};

} // namespace UsageStats
