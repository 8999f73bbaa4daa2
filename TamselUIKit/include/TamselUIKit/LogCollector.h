#pragma once

#include "TamselUIKit/IncludedLogs.h"

#include <QString>
#include <cstddef>

namespace TamselUIKit {

/// The error and fault entries that `included` selects, oldest first, one line each: for the current
/// process, from the process's log store, as "<subsystem>; <category>; <level code>; <message>" (codes
/// 1 debug to 5 fault); for another process, from the system journal where it is readable, as the message
/// alone. Only the newest lines that fit in `maximumBytes` of UTF-8 are kept.
///
/// Blocks (reading the journal takes at most a few seconds); call it off the GUI thread. Never fails: a
/// store or journal that cannot be read gives the empty text.
QString collectLogs(const IncludedLogs& included, std::size_t maximumBytes = 1024 * 1024);

} // namespace TamselUIKit
