#pragma once

#include <Foundation/Date.h>
#include <Foundation/URL.h>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <sqlite3.h>
#include <string>

namespace MarrowbellCore::SQLColumns {

/// Reading rules shared by every reader: NULL integers and doubles read as 0; a date of 0.0 (NULL
/// included) is no date; text that is not a URL is no URL; invalid UTF-8 is repaired.

std::optional<std::string> text(sqlite3_stmt* statement, int column);
std::int64_t integer(sqlite3_stmt* statement, int column);
std::optional<Foundation::Date> date(sqlite3_stmt* statement, int column);
std::optional<Foundation::URL> url(sqlite3_stmt* statement, int column);

/// The same rules for values already taken off a row: `characters` null for NULL.
std::optional<std::string> text(const char* characters, std::size_t length);
std::optional<Foundation::Date> date(double seconds);
std::optional<Foundation::URL> url(const char* characters, std::size_t length);

} // namespace MarrowbellCore::SQLColumns
