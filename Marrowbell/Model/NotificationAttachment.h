#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace Marrowbell {

/// The one image file that the song-start notification attaches: a copy of a cached thumbnail in the
/// temporary folder, named "at_" and the SHA-256 of the artwork key in hexadecimal, ".png", so that no key
/// can name a file elsewhere. Making a new one removes the previous file. GUI thread.
class NotificationAttachment {
public:
    NotificationAttachment() = default;
    /// Removes the current file.
    ~NotificationAttachment();
    NotificationAttachment(const NotificationAttachment&) = delete;
    NotificationAttachment& operator=(const NotificationAttachment&) = delete;

    /// Where the attachment of `artworkKey` goes.
    static QString pathFor(const QString& artworkKey);

    /// Removes the previous file, then copies `sourceFile` to pathFor(artworkKey) and gives its address.
    /// Nothing when `sourceFile` does not exist. Throws std::runtime_error when the copy fails; no file is
    /// left behind then.
    std::optional<QUrl> replace(const QString& sourceFile, const QString& artworkKey);

private:
    void removeCurrent();

    QString currentPath_;
};

} // namespace Marrowbell
