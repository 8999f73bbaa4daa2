#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace UsageStats {

struct AtomicFile {
    /// Replaces `file` with `contents` so that readers see the old or the new content, never a part:
    /// writes a temporary file beside it, flushes it to disk and renames it over. Creates the folder.
    /// Throws `std::filesystem::filesystem_error` (or `std::system_error`) on failure; the old file stays.
    static void write(const std::filesystem::path& file, std::string_view contents);

    /// The whole content, or nothing when the file cannot be read.
    static std::optional<std::string> read(const std::filesystem::path& file);
};

} // namespace UsageStats
