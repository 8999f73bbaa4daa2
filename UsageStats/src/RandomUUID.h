#pragma once

#include <string>

namespace UsageStats {

/// A new random (version 4) UUID in canonical upper-case text form.
std::string makeRandomUUID();

} // namespace UsageStats
