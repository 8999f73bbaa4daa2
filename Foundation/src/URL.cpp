#include "Foundation/URL.h"

#include <cctype>

namespace Foundation {
namespace {

bool isUnreservedOrReserved(unsigned char c) {
    if (std::isalnum(c)) {
        return true;
    }
    switch (c) {
    case '-': case '.': case '_': case '~':                                       // unreserved
    case ':': case '/': case '?': case '#': case '[': case ']': case '@':         // gen-delims
    case '!': case '$': case '&': case '\'': case '(': case ')': case '*': case '+':
    case ',': case ';': case '=':                                                  // sub-delims
        return true;
    default:
        return false;
    }
}

bool hasValidCharacters(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '%') {
            if (i + 2 >= text.size()) {
                return false;
            }
            if (!std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
                !std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
                return false;
            }
            i += 2;
        } else if (!isUnreservedOrReserved(c)) {
            return false;
        }
    }
    return true;
}

bool hasValidScheme(std::string_view text) {
    const auto colon = text.find(':');
    const auto firstDelimiter = text.find_first_of("/?#");
    if (colon == std::string_view::npos || (firstDelimiter != std::string_view::npos && firstDelimiter < colon)) {
        return true; // a relative reference: no scheme to check
    }
    if (colon == 0 || !std::isalpha(static_cast<unsigned char>(text[0]))) {
        return false;
    }
    for (std::size_t i = 1; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<URL> URL::fromString(std::string_view text) {
    if (text.empty() || !hasValidCharacters(text) || !hasValidScheme(text)) {
        return std::nullopt;
    }
    return URL(std::string(text));
}

} // namespace Foundation
