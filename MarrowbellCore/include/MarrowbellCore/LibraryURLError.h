#pragma once

#include <stdexcept>
#include <string>

namespace MarrowbellCore {

/// A library request whose URL cannot be formed: the container identifier is empty or holds
/// characters that a URL path segment cannot carry.
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
