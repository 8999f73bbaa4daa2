#pragma once

#include "MarrowbellCore/Store/SQLError.h"

#include <optional>
#include <string>

namespace MarrowbellCore {

/// The error for SQLite's result `code` and `message` on the library file at `path`: a damaged file and one
/// that cannot be written are said in words the user can act on, naming the file or its folder; any other
/// fault keeps SQLite's message.
SQLError storeFileError(int code, const std::string& message, const std::string& path);

/// Why the file at `path` cannot be written (its folder or the file itself), or nothing when it can.
std::optional<std::string> unwritableReason(const std::string& path);

} // namespace MarrowbellCore
