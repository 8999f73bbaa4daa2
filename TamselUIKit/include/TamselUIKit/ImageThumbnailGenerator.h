#pragma once

#include <QByteArray>
#include <QImage>
#include <QUrl>

namespace TamselUIKit {

/// Makes an upright (orientation tag applied) copy of an image whose longer side is at most
/// `maxPixelSize`, keeping the aspect ratio; an image already small enough keeps its size.
/// Stateless; any thread. Failures throw ImageError<ImageThumbnailGeneratorError>: invalidSource (0)
/// when the input is not a readable image, thumbnailCreationFailed (1) when it cannot be decoded
/// (also when decoding would exceed the kit's allocation limit) or `maxPixelSize` is not positive.
class ImageThumbnailGenerator {
public:
    static QImage createThumbnailOfImageAtURL(const QUrl& fileURL, int maxPixelSize);
    static QImage createThumbnailOfImageWithSourceData(const QByteArray& sourceData, int maxPixelSize);
};

} // namespace TamselUIKit
