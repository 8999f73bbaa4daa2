#pragma once

#include <set>
#include <string>
#include <string_view>

namespace UsageStats {

/// The 25 signal and parameter names the client keeps for itself, in lower case.
const std::set<std::string>& reservedKeys();

/// Whether the lower-case form of `name` is a reserved name.
bool isReservedName(std::string_view name);

/// Whether the lower-case form of `name` begins with "usagestats.", the client's own namespace.
bool hasReservedPrefix(std::string_view name);

} // namespace UsageStats
