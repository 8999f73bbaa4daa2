#pragma once

namespace MarrowbellCore::LikeMatcher {

/// Whether `text` matches `pattern` exactly as SQLite's built-in LIKE without an ESCAPE clause decides it:
/// "%" matches any run of characters, "_" exactly one character, ASCII letters match either case and every
/// other character only itself, invalid UTF-8 reads as U+FFFD, and both texts end at their first NUL.
bool matches(const char* pattern, const char* text);

} // namespace MarrowbellCore::LikeMatcher
