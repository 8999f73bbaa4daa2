#pragma once

#include <filesystem>

namespace UsageStats {

/// The user's base directories as the XDG variables name them (falling back to ~/.config and ~/.cache);
/// empty when neither the variable nor HOME gives an absolute path.
struct XdgDirectories {
    static std::filesystem::path configHome();
    static std::filesystem::path cacheHome();
};

} // namespace UsageStats
