#include "Foundation/Text.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <utf8proc.h>

namespace Foundation {
namespace {

bool isASCII(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

struct FreeDeleter {
    void operator()(utf8proc_uint8_t* pointer) const { std::free(pointer); }
};

bool isWhitespaceOrNewline(utf8proc_int32_t codePoint) {
    if ((codePoint >= 0x09 && codePoint <= 0x0D) || codePoint == 0x85) {
        return true;
    }
    switch (utf8proc_category(codePoint)) {
    case UTF8PROC_CATEGORY_ZS:
    case UTF8PROC_CATEGORY_ZL:
    case UTF8PROC_CATEGORY_ZP:
        return true;
    default:
        return false;
    }
}

// Decodes the code point starting at `offset`; gives its length, or -1 for invalid UTF-8.
utf8proc_ssize_t decodeAt(std::string_view text, std::size_t offset, utf8proc_int32_t& codePoint) {
    return utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(text.data() + offset),
                            static_cast<utf8proc_ssize_t>(text.size() - offset), &codePoint);
}

// Walks back from `end` to the start of the last code point before it.
std::size_t previousCodePointStart(std::string_view text, std::size_t end) {
    std::size_t start = end - 1;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) {
        --start;
    }
    return start;
}

} // namespace

std::string canonicalComposition(std::string_view text) {
    if (isASCII(text)) {
        return std::string(text);
    }
    utf8proc_uint8_t* composed = nullptr;
    const auto length = utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                                     static_cast<utf8proc_ssize_t>(text.size()), &composed,
                                     static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
    if (length < 0) {
        return std::string(text);
    }
    std::unique_ptr<utf8proc_uint8_t, FreeDeleter> owner(composed);
    return std::string(reinterpret_cast<const char*>(composed), static_cast<std::size_t>(length));
}

bool canonicallyEqual(std::string_view lhs, std::string_view rhs) {
    if (lhs == rhs) {
        return true;
    }
    if (isASCII(lhs) && isASCII(rhs)) {
        return false;
    }
    return canonicalComposition(lhs) == canonicalComposition(rhs);
}

std::size_t canonicalHash(std::string_view text) {
    if (isASCII(text)) {
        return std::hash<std::string_view>{}(text);
    }
    return std::hash<std::string>{}(canonicalComposition(text));
}

int compareCanonically(std::string_view lhs, std::string_view rhs) {
    // UTF-8 byte order is code point order, so comparing the composed bytes compares scalar values.
    if (isASCII(lhs) && isASCII(rhs)) {
        return lhs.compare(rhs);
    }
    return canonicalComposition(lhs).compare(canonicalComposition(rhs));
}

std::string trimmingWhitespaceAndNewlines(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        utf8proc_int32_t codePoint = 0;
        const auto length = decodeAt(text, begin, codePoint);
        if (length <= 0 || !isWhitespaceOrNewline(codePoint)) {
            break;
        }
        begin += static_cast<std::size_t>(length);
    }
    std::size_t end = text.size();
    while (end > begin) {
        const auto start = previousCodePointStart(text, end);
        utf8proc_int32_t codePoint = 0;
        if (decodeAt(text, start, codePoint) <= 0 || !isWhitespaceOrNewline(codePoint)) {
            break;
        }
        end = start;
    }
    return std::string(text.substr(begin, end - begin));
}

std::string repairingUTF8(std::string_view bytes) {
    if (isASCII(bytes)) {
        return std::string(bytes);
    }
    std::string repaired;
    repaired.reserve(bytes.size());
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        utf8proc_int32_t codePoint = 0;
        const auto length = decodeAt(bytes, offset, codePoint);
        if (length > 0) {
            repaired.append(bytes.substr(offset, static_cast<std::size_t>(length)));
            offset += static_cast<std::size_t>(length);
        } else {
            repaired.append("\xEF\xBF\xBD");
            ++offset;
        }
    }
    return repaired;
}

std::string replacingOccurrences(std::string_view text, std::string_view target,
                                 std::string_view replacement) {
    std::string result;
    result.reserve(text.size());
    std::size_t position = 0;
    while (true) {
        const auto found = target.empty() ? std::string_view::npos : text.find(target, position);
        if (found == std::string_view::npos) {
            result.append(text.substr(position));
            return result;
        }
        result.append(text.substr(position, found - position)).append(replacement);
        position = found + target.size();
    }
}

} // namespace Foundation
