#pragma once

#include <QString>

namespace TamselUIKit {

/// The key a cache stores `key` under (its memory key and its file's base name): with hashing, the
/// SHA-256 digest of the key's UTF-8 bytes as 64 upper-case hexadecimal digits; otherwise the key itself.
QString cacheKey(const QString& key, bool shouldHashKeys);

} // namespace TamselUIKit
