#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Foundation {

/// Unicode texts in UTF-8. Two texts are equal when their canonically composed (NFC) forms are equal,
/// so precomposed and decomposed accents compare alike. ASCII texts take a fast path.

/// The canonically composed form; invalid UTF-8 is returned unchanged.
std::string canonicalComposition(std::string_view text);

bool canonicallyEqual(std::string_view lhs, std::string_view rhs);

/// A hash that agrees with canonicallyEqual.
std::size_t canonicalHash(std::string_view text);

/// Orders by the Unicode scalar values of the canonically composed forms: case-sensitive and
/// independent of locale. Negative, zero or positive like strcmp.
int compareCanonically(std::string_view lhs, std::string_view rhs);

/// Removes white space and line breaks (Unicode separators, tabs, CR, LF, VT, FF, NEL) from both ends.
std::string trimmingWhitespaceAndNewlines(std::string_view text);

/// Replaces invalid UTF-8 sequences with U+FFFD.
std::string repairingUTF8(std::string_view bytes);

/// Replaces every occurrence of `target` in `text` with `replacement`.
std::string replacingOccurrences(std::string_view text, std::string_view target,
                                 std::string_view replacement);

} // namespace Foundation
