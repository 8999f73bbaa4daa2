#pragma once

#include <cstdlib>
#include <cstring>

namespace UsageStats {

/// Whether the environment marks the process as a design-time preview: "XCODE_RUNNING_FOR_PREVIEWS" is "1".
/// Read on every call.
inline bool previewRequestedByEnvironment() {
    const char* value = std::getenv("XCODE_RUNNING_FOR_PREVIEWS");
    return value && std::strcmp(value, "1") == 0;
}

} // namespace UsageStats
