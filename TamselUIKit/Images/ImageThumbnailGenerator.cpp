#include "TamselUIKit/ImageThumbnailGenerator.h"

#include "Images/ImageSource.h"
#include "TamselUIKit/ImageErrors.h"

#include <algorithm>

namespace TamselUIKit {
namespace {

// Never larger than the source: a thumbnail is a reduction only.
QSize fittedSize(QSize size, int maxPixelSize) {
    const int longerSide = std::max(size.width(), size.height());
    if (longerSide <= maxPixelSize) {
        return size;
    }
    const double scale = double(maxPixelSize) / longerSide;
    return {std::max(1, qRound(size.width() * scale)), std::max(1, qRound(size.height() * scale))};
}

QImage thumbnailOfFirstImage(ImageSource& source, int maxPixelSize) {
    QImageReader& reader = source.reader();
    if (!reader.canRead()) {
        throw ImageError(ImageThumbnailGeneratorError::invalidSource);
    }
    if (maxPixelSize <= 0) {
        throw ImageError(ImageThumbnailGeneratorError::thumbnailCreationFailed);
    }
    reader.setAutoTransform(true);
    // Fitting the stored (not yet rotated) size is right: the limit applies to either side alike.
    const QSize storedSize = reader.size();
    if (storedSize.isValid()) {
        reader.setScaledSize(fittedSize(storedSize, maxPixelSize));
    }
    QImage image = reader.read();
    if (image.isNull()) {
        throw ImageError(ImageThumbnailGeneratorError::thumbnailCreationFailed);
    }
    const QSize fitted = fittedSize(image.size(), maxPixelSize);
    if (fitted != image.size()) {
        image = image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return image;
}

} // namespace

QImage ImageThumbnailGenerator::createThumbnailOfImageAtURL(const QUrl& fileURL, int maxPixelSize) {
    ImageSource source(fileURL);
    return thumbnailOfFirstImage(source, maxPixelSize);
}

QImage ImageThumbnailGenerator::createThumbnailOfImageWithSourceData(const QByteArray& sourceData,
                                                                     int maxPixelSize) {
    ImageSource source(sourceData);
    return thumbnailOfFirstImage(source, maxPixelSize);
}

} // namespace TamselUIKit
