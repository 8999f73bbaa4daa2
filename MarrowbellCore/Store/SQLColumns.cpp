#include "SQLColumns.h"

#include <Foundation/Text.h>
#include <string_view>

namespace MarrowbellCore::SQLColumns {
namespace {

const char* characters(sqlite3_stmt* statement, int column) {
    return reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
}

std::size_t length(sqlite3_stmt* statement, int column) {
    return static_cast<std::size_t>(sqlite3_column_bytes(statement, column));
}

} // namespace

std::optional<std::string> text(sqlite3_stmt* statement, int column) {
    const auto* start = characters(statement, column);
    return text(start, start ? length(statement, column) : 0);
}

std::int64_t integer(sqlite3_stmt* statement, int column) {
    return sqlite3_column_int64(statement, column);
}

std::optional<Foundation::Date> date(sqlite3_stmt* statement, int column) {
    return date(sqlite3_column_double(statement, column));
}

std::optional<Foundation::URL> url(sqlite3_stmt* statement, int column) {
    const auto* start = characters(statement, column);
    return url(start, start ? length(statement, column) : 0);
}

std::optional<std::string> text(const char* characters, std::size_t length) {
    if (!characters) {
        return std::nullopt;
    }
    return Foundation::repairingUTF8(std::string_view(characters, length));
}

std::optional<Foundation::Date> date(double seconds) {
    if (seconds == 0.0) {
        return std::nullopt;
    }
    return Foundation::Date{seconds};
}

std::optional<Foundation::URL> url(const char* characters, std::size_t length) {
    // Repairing the text first would change nothing: a URL holds only ASCII, and anything else does not
    // parse.
    return characters ? Foundation::URL::fromString(std::string_view(characters, length)) : std::nullopt;
}

} // namespace MarrowbellCore::SQLColumns
