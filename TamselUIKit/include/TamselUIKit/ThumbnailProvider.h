#pragma once

#include <QImage>
#include <QSize>
#include <QUrl>

namespace TamselUIKit {

/// Makes the pictures of documents that the welcome window shows in place of their file icons. Called
/// from worker threads, several at once.
class ThumbnailProvider {
public:
    virtual ~ThumbnailProvider() = default;

    /// A picture of the document at `url` that fits in `pixelSize`. Throws std::runtime_error saying why
    /// there is none.
    virtual QImage thumbnail(const QUrl& url, const QSize& pixelSize) const = 0;
};

/// Thumbnails of image files, read with QImageReader (orientation applied, never enlarged). Any other file
/// has none, so its row keeps the file's icon. Thread-safe.
class ImageFileThumbnailProvider : public ThumbnailProvider {
public:
    QImage thumbnail(const QUrl& url, const QSize& pixelSize) const override;
};

} // namespace TamselUIKit
