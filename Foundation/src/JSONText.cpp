#include "Foundation/JSONText.h"

#include <array>
#include <cstdio>

namespace Foundation {
namespace {

/// The escape for `c`, or nothing when it stands in a JSON string as it is.
std::string_view escapeFor(char c, std::array<char, 8>& buffer) {
    switch (c) {
    case '"':
        return "\\\"";
    case '\\':
        return "\\\\";
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    case '\b':
        return "\\b";
    case '\f':
        return "\\f";
    default:
        if (static_cast<unsigned char>(c) < 0x20) {
            std::snprintf(buffer.data(), buffer.size(), "\\u%04x", static_cast<unsigned>(c));
            return std::string_view(buffer.data(), 6);
        }
        return {};
    }
}

} // namespace

std::string jsonQuoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    // Plain stretches are copied whole; most texts have nothing to escape.
    std::size_t plainStart = 0;
    std::array<char, 8> buffer{};
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto escape = escapeFor(text[i], buffer);
        if (!escape.empty()) {
            quoted.append(text, plainStart, i - plainStart).append(escape);
            plainStart = i + 1;
        }
    }
    quoted.append(text, plainStart).append(1, '"');
    return quoted;
}

} // namespace Foundation
