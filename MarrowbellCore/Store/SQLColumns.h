#pragma once

#include <Foundation/Date.h>
#include <Foundation/URL.h>

#include <cstdint>
#include <optional>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace MarrowbellCore::SQLColumns {

/// Reading rules shared by every reader: NULL integers and doubles read as 0; a date of 0.0 (NULL
/// included) is no date; text that is not a URL is no URL; invalid UTF-8 is repaired.

std::optional<std::string> text(sqlite3_stmt* statement, int column);
std::int64_t integer(sqlite3_stmt* statement, int column);
double real(sqlite3_stmt* statement, int column);
std::optional<Foundation::Date> date(sqlite3_stmt* statement, int column);
std::optional<Foundation::URL> url(sqlite3_stmt* statement, int column);
/// Nothing for a NULL column or a zero-length blob.
std::optional<std::vector<std::uint8_t>> blob(sqlite3_stmt* statement, int column);

} // namespace MarrowbellCore::SQLColumns
