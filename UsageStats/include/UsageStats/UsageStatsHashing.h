#pragma once

#include <string>
#include <string_view>

namespace UsageStats {

struct UsageStatsHashing {
    /// The SHA-256 digest of the UTF-8 bytes of `text` followed by `salt`, as 64 lower-case hex digits.
    static std::string sha256(std::string_view text, std::string_view salt);
};

} // namespace UsageStats
