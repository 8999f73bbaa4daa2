#include "Foundation/URL.h"

#include <array>

namespace Foundation {
namespace {

// ASCII classes by table: the C library's versions look the locale up on every character, and in some locales
// take bytes beyond ASCII for letters.
constexpr bool isAlpha(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

constexpr bool isHexDigit(unsigned char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

constexpr auto urlCharacters = [] {
    std::array<bool, 256> table{};
    for (unsigned c = 0; c < table.size(); ++c) {
        table[c] = isAlpha(static_cast<unsigned char>(c)) || isDigit(static_cast<unsigned char>(c));
    }
    // unreserved, gen-delims, sub-delims
    for (const char c : std::string_view("-._~:/?#[]@!$&'()*+,;=")) {
        table[static_cast<unsigned char>(c)] = true;
    }
    return table;
}();

bool hasValidCharacters(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '%') {
            if (i + 2 >= text.size()) {
                return false;
            }
            if (!isHexDigit(static_cast<unsigned char>(text[i + 1])) ||
                !isHexDigit(static_cast<unsigned char>(text[i + 2]))) {
                return false;
            }
            i += 2;
        } else if (!urlCharacters[c]) {
            return false;
        }
    }
    return true;
}

bool hasValidScheme(std::string_view text) {
    const auto colon = text.find(':');
    const auto firstDelimiter = text.find_first_of("/?#");
    if (colon == std::string_view::npos ||
        (firstDelimiter != std::string_view::npos && firstDelimiter < colon)) {
        return true; // a relative reference: no scheme to check
    }
    if (colon == 0 || !isAlpha(static_cast<unsigned char>(text[0]))) {
        return false;
    }
    for (std::size_t i = 1; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!isAlpha(c) && !isDigit(c) && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}

} // namespace

bool isUnreservedURLCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return isAlpha(byte) || isDigit(byte) || c == '-' || c == '.' || c == '_' || c == '~';
}

std::optional<URL> URL::fromString(std::string_view text) {
    if (text.empty() || !hasValidCharacters(text) || !hasValidScheme(text)) {
        return std::nullopt;
    }
    return URL(std::string(text));
}

} // namespace Foundation
