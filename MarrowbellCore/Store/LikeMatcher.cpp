#include "LikeMatcher.h"

#include <cstdint>
#include <cstring>

namespace MarrowbellCore::LikeMatcher {
namespace {

/// The outcomes SQLite distinguishes: a failure after a "%" cannot be mended by trying a later start.
enum class Outcome { match, noMatch, noWildcardMatch };

constexpr char32_t matchAll = '%';
constexpr char32_t matchOne = '_';

/// The payload bits of a UTF-8 lead byte 0xC0...0xFF, as SQLite reads them (it does not check the length).
constexpr unsigned char leadBytePayload[64] = {
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f,
    0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x1b, 0x1c, 0x1d, 0x1e, 0x1f,
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f,
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x00, 0x01, 0x02, 0x03, 0x00, 0x01, 0x00, 0x00,
};

/// Reads one character and advances past it. A lead byte takes every continuation byte that follows; an
/// overlong form, a surrogate or a non-character reads as U+FFFD; a stray continuation byte reads as itself.
char32_t next(const unsigned char*& text) {
    std::uint32_t c = *text++;
    if (c >= 0xC0) {
        c = leadBytePayload[c - 0xC0];
        while ((*text & 0xC0) == 0x80) {
            c = (c << 6) + (0x3F & *text++);
        }
        if (c < 0x80 || (c & 0xFFFFF800) == 0xD800 || (c & 0xFFFFFFFE) == 0xFFFE) {
            c = 0xFFFD;
        }
    }
    return c;
}

char32_t lowercaseASCII(char32_t c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

char32_t uppercaseASCII(char32_t c) {
    return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
}

bool sameCharacter(char32_t patternCharacter, char32_t textCharacter) {
    return patternCharacter == textCharacter ||
           (patternCharacter < 0x80 && textCharacter < 0x80 &&
            lowercaseASCII(patternCharacter) == lowercaseASCII(textCharacter));
}

Outcome compare(const unsigned char* pattern, const unsigned char* text);

/// The rest of the pattern after a run of "%" (and "_", each taking one character) whose first other
/// character is `c`: tries every place in `text` where `c` occurs.
Outcome compareAfterWildcard(char32_t c, const unsigned char* pattern, const unsigned char* text) {
    if (c < 0x80) {
        // An ASCII character can only be a whole character of the text, so a byte search finds its places.
        const char stops[3] = {static_cast<char>(uppercaseASCII(c)), static_cast<char>(lowercaseASCII(c)), 0};
        while (true) {
            text += std::strcspn(reinterpret_cast<const char*>(text), stops);
            if (*text == 0) {
                return Outcome::noWildcardMatch;
            }
            ++text;
            const auto outcome = compare(pattern, text);
            if (outcome != Outcome::noMatch) {
                return outcome;
            }
        }
    }
    while (const char32_t textCharacter = next(text)) {
        if (textCharacter != c) {
            continue;
        }
        const auto outcome = compare(pattern, text);
        if (outcome != Outcome::noMatch) {
            return outcome;
        }
    }
    return Outcome::noWildcardMatch;
}

Outcome compare(const unsigned char* pattern, const unsigned char* text) {
    while (const char32_t c = next(pattern)) {
        if (c == matchAll) {
            char32_t following = next(pattern);
            for (; following == matchAll || following == matchOne; following = next(pattern)) {
                if (following == matchOne && next(text) == 0) {
                    return Outcome::noWildcardMatch;
                }
            }
            if (following == 0) {
                return Outcome::match;
            }
            return compareAfterWildcard(following, pattern, text);
        }
        const char32_t textCharacter = next(text);
        if (sameCharacter(c, textCharacter) || (c == matchOne && textCharacter != 0)) {
            continue;
        }
        return Outcome::noMatch;
    }
    return *text == 0 ? Outcome::match : Outcome::noMatch;
}

} // namespace

bool matches(const char* pattern, const char* text) {
    return compare(reinterpret_cast<const unsigned char*>(pattern),
                   reinterpret_cast<const unsigned char*>(text)) == Outcome::match;
}

} // namespace MarrowbellCore::LikeMatcher
