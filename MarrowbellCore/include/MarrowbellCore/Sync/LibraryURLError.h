#pragma once

#include <stdexcept>
#include <string>

namespace MarrowbellCore {

/// A library request whose URL cannot be formed: the identifier it carries (a container's, or the
/// song's to add) is empty or holds characters that cannot stand in its place in the URL.
class LibraryURLError : public std::runtime_error {
public:
    explicit LibraryURLError(const std::string& identifier)
        : std::runtime_error("Cannot form a library URL for the identifier \"" + identifier + "\".")
        , identifier_(identifier) {}

    const std::string& identifier() const { return identifier_; }

private:
    std::string identifier_;
};

} // namespace MarrowbellCore
