#include "TamselUIKit/WelcomeRecent.h"

#include <QFileInfo>
#include <QMimeDatabase>

namespace TamselUIKit {

std::optional<QString> WelcomeRecent::kindDescription() const {
    const QFileInfo file(url.toLocalFile());
    if (!url.isLocalFile() || !file.isReadable()) {
        return std::nullopt;
    }
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    if (!type.isValid() || type.comment().isEmpty()) {
        return std::nullopt;
    }
    return type.comment();
}

} // namespace TamselUIKit
