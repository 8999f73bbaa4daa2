#include "TamselUIKit/ImageConverter.h"

#include "Images/ImageSource.h"
#include "TamselUIKit/ImageErrors.h"

#include <QImageWriter>

namespace TamselUIKit {
namespace {

QByteArray convertFirstImage(ImageSource& source, const QByteArray& fromType, const QByteArray& toType) {
    QImageReader& reader = source.reader();
    reader.setFormat(fromType.toLower());
    if (!reader.canRead()) {
        throw ImageError(ImageConverterError::invalidSource);
    }
    const QByteArray targetFormat = toType.toLower();
    if (!QImageWriter::supportedImageFormats().contains(targetFormat)) {
        throw ImageError(ImageConverterError::conversionFailed);
    }
    const QImage image = reader.read();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, targetFormat);
    if (image.isNull() || !writer.write(image)) {
        throw ImageError(ImageConverterError::conversionFailed);
    }
    return bytes;
}

} // namespace

QByteArray ImageConverter::convertImageWithSourceData(const QByteArray& sourceData,
                                                      const QByteArray& fromType, const QByteArray& toType) {
    ImageSource source(sourceData);
    return convertFirstImage(source, fromType, toType);
}

QByteArray ImageConverter::convertImageAtSourceURL(const QUrl& sourceURL, const QByteArray& fromType,
                                                   const QByteArray& toType) {
    ImageSource source(sourceURL);
    return convertFirstImage(source, fromType, toType);
}

} // namespace TamselUIKit
