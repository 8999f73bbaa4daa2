#include "SQLColumns.h"

#include <Foundation/Text.h>

namespace MarrowbellCore::SQLColumns {

std::optional<std::string> text(sqlite3_stmt* statement, int column) {
    const auto* characters = sqlite3_column_text(statement, column);
    if (!characters) {
        return std::nullopt;
    }
    const auto length = static_cast<std::size_t>(sqlite3_column_bytes(statement, column));
    return Foundation::repairingUTF8(std::string_view(reinterpret_cast<const char*>(characters), length));
}

std::int64_t integer(sqlite3_stmt* statement, int column) {
    return sqlite3_column_int64(statement, column);
}

double real(sqlite3_stmt* statement, int column) {
    return sqlite3_column_double(statement, column);
}

std::optional<Foundation::Date> date(sqlite3_stmt* statement, int column) {
    const double seconds = sqlite3_column_double(statement, column);
    if (seconds == 0.0) {
        return std::nullopt;
    }
    return Foundation::Date{seconds};
}

std::optional<Foundation::URL> url(sqlite3_stmt* statement, int column) {
    const auto characters = text(statement, column);
    return characters ? Foundation::URL::fromString(*characters) : std::nullopt;
}

std::optional<std::vector<std::uint8_t>> blob(sqlite3_stmt* statement, int column) {
    const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement, column));
    if (!bytes) {
        return std::nullopt;
    }
    const auto length = static_cast<std::size_t>(sqlite3_column_bytes(statement, column));
    return std::vector<std::uint8_t>(bytes, bytes + length);
}

} // namespace MarrowbellCore::SQLColumns
