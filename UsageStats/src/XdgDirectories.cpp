#include "XdgDirectories.h"

#include <cstdlib>

namespace UsageStats {
namespace {

std::filesystem::path baseDirectory(const char* variable, const char* fallbackBelowHome) {
    // The XDG rules ignore relative paths.
    if (const char* value = std::getenv(variable); value && std::filesystem::path(value).is_absolute()) {
        return value;
    }
    if (const char* home = std::getenv("HOME"); home && std::filesystem::path(home).is_absolute()) {
        return std::filesystem::path(home) / fallbackBelowHome;
    }
    return {};
}

} // namespace

std::filesystem::path XdgDirectories::configHome() {
    return baseDirectory("XDG_CONFIG_HOME", ".config");
}

std::filesystem::path XdgDirectories::cacheHome() {
    return baseDirectory("XDG_CACHE_HOME", ".cache");
}

} // namespace UsageStats
