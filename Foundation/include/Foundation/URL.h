#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Foundation {

/// An absolute or relative URL reference that passed RFC 3986 syntax checking.
/// Text holding characters a URL cannot carry (spaces, braces, bad percent escapes) does not parse.
/// Whether `c` is one of the characters that stand for themselves anywhere in a URL: ASCII letters and
/// digits, "-", ".", "_" and "~".
bool isUnreservedURLCharacter(char c);

class URL {
public:
    static std::optional<URL> fromString(std::string_view text);

    const std::string& absoluteString() const { return text_; }

    bool operator==(const URL&) const = default;

private:
    explicit URL(std::string text)
        : text_(std::move(text)) {}
    std::string text_;
};

} // namespace Foundation
