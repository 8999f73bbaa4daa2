#include "Model/NotificationAttachment.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <stdexcept>

namespace Marrowbell {

NotificationAttachment::~NotificationAttachment() {
    removeCurrent();
}

QString NotificationAttachment::pathFor(const QString& artworkKey) {
    const QByteArray digest =
        QCryptographicHash::hash(artworkKey.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QDir::temp().filePath(QStringLiteral("at_") + QString::fromLatin1(digest) +
                                 QStringLiteral(".png"));
}

std::optional<QUrl> NotificationAttachment::replace(const QString& sourceFile, const QString& artworkKey) {
    removeCurrent();
    if (!QFile::exists(sourceFile)) {
        return std::nullopt;
    }
    const QString target = pathFor(artworkKey);
    // QFile::copy never overwrites; a file left by an earlier run would block it.
    QFile::remove(target);
    QFile source(sourceFile);
    if (!source.copy(target)) {
        const std::string reason = source.errorString().toStdString();
        QFile::remove(target);
        throw std::runtime_error("Could not copy the artwork for the notification: " + reason);
    }
    currentPath_ = target;
    return QUrl::fromLocalFile(target);
}

void NotificationAttachment::removeCurrent() {
    if (!currentPath_.isEmpty()) {
        QFile::remove(currentPath_);
        currentPath_.clear();
    }
}

} // namespace Marrowbell
