#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace MusicKit {

/// The largest configuration file that is read; a service configuration is a few lines.
inline constexpr std::size_t configurationFileLimit = 1024 * 1024;

/// The contents of the configuration file at `path`, or nothing when there is no file there. Only a regular
/// file (links followed) of at most `configurationFileLimit` bytes is read, and never blocks: a named pipe,
/// a device or a folder is refused before anything is read from it. A leading UTF-8 byte-order mark is
/// dropped. Throws ServiceConfigurationError naming the file and what is wrong with it (a dangling link, an
/// empty file, one too large or not readable).
std::optional<std::string> readConfigurationFile(const std::filesystem::path& path);

} // namespace MusicKit
