#include "TamselUIKit/ImageCoding.h"

#include "Images/ImageSource.h"
#include "TamselUIKit/ImageErrors.h"

#include <QImageWriter>

namespace TamselUIKit {
namespace {

QImage decodeFirstImage(ImageSource& source) {
    QImageReader& reader = source.reader();
    if (!reader.canRead()) {
        throw ImageError(CGImageError::invalidSourceData);
    }
    reader.setAutoTransform(false);
    QImage image = reader.read();
    if (image.isNull()) {
        throw ImageError(CGImageError::imageCreationFailed);
    }
    return image;
}

} // namespace

QByteArray encodedImageData(const QImage& image, const QByteArray& type) {
    const QByteArray format = type.toLower();
    if (!QImageWriter::supportedImageFormats().contains(format)) {
        throw ImageError(CGImageError::destinationCreationFailed);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        throw ImageError(CGImageError::imageCreationFailed);
    }
    return bytes;
}

QImage decodeImage(const QByteArray& data) {
    ImageSource source(data);
    return decodeFirstImage(source);
}

QImage decodeImage(const QUrl& fileURL) {
    ImageSource source(fileURL);
    return decodeFirstImage(source);
}

} // namespace TamselUIKit
