#pragma once

#include <stdexcept>
#include <string>

namespace MarrowbellCore {

/// The error of every failing store statement: SQLite's own message, or "Failed to open database", and what
/// kind of fault it is, for callers that treat some faults apart.
class SQLError : public std::runtime_error {
public:
    enum class Kind {
        /// A statement or the connection failed for any other reason.
        failed,
        /// SQLite found the library file damaged: from then on the store neither reads nor writes it.
        damaged,
        /// The file is an SQLite database of something else; the store leaves it as it is.
        notALibrary,
        /// The file or its folder cannot be written.
        notWritable,
    };

    explicit SQLError(std::string text, Kind errorKind = Kind::failed)
        : std::runtime_error(text)
        , message(std::move(text))
        , kind(errorKind) {}

    std::string message;
    Kind kind;
};

} // namespace MarrowbellCore
