#pragma once

#include <map>
#include <string>

namespace UsageStats {

/// Signal parameters: text to text. Numbers and Booleans travel as their decimal or "true"/"false" texts.
using Parameters = std::map<std::string, std::string>;

/// Copies every entry of `overlay` into `base`; on a repeated key the overlay wins.
inline void mergeOver(Parameters& base, const Parameters& overlay) {
    for (const auto& [key, value] : overlay) {
        base.insert_or_assign(key, value);
    }
}

} // namespace UsageStats
