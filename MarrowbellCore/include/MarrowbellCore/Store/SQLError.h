#pragma once

#include <stdexcept>
#include <string>

namespace MarrowbellCore {

/// The error of every failing store statement: SQLite's own message, or "Failed to open database".
class SQLError : public std::runtime_error {
public:
    explicit SQLError(std::string text)
        : std::runtime_error(text)
        , message(std::move(text)) {}

    std::string message;
};

} // namespace MarrowbellCore
