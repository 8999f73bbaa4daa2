#include "TamselUIKit/CacheKey.h"

#include <QCryptographicHash>

namespace TamselUIKit {

QString cacheKey(const QString& key, bool shouldHashKeys) {
    if (!shouldHashKeys) {
        return key;
    }
    const QByteArray digest = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.toHex().toUpper());
}

} // namespace TamselUIKit
