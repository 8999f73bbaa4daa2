#pragma once

#include "UsageStats/Clock.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace UsageStats {

/// One past or current session as the defaults suite keeps it under "recentSessions".
struct StoredSession {
    WallTime startedAt;
    std::int64_t durationInSeconds = 0;

    bool operator==(const StoredSession&) const = default;
};

/// A JSON array of {"st": whole seconds since 1970 (truncated), "dn": seconds}.
std::string encodeStoredSessions(const std::vector<StoredSession>& sessions);

/// Reads that array ("st" may be any number); nothing when it is not one.
std::optional<std::vector<StoredSession>> decodeStoredSessions(std::string_view json);

} // namespace UsageStats
