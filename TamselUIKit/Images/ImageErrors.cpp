#include "TamselUIKit/ImageErrors.h"

namespace TamselUIKit {

std::optional<ImageConverterError> imageConverterErrorFromCode(int code) {
    switch (code) {
    case 0:
        return ImageConverterError::invalidSource;
    case 1:
        return ImageConverterError::conversionFailed;
    default:
        return std::nullopt;
    }
}

std::optional<ImageThumbnailGeneratorError> imageThumbnailGeneratorErrorFromCode(int code) {
    switch (code) {
    case 0:
        return ImageThumbnailGeneratorError::invalidSource;
    case 1:
        return ImageThumbnailGeneratorError::thumbnailCreationFailed;
    default:
        return std::nullopt;
    }
}

QString errorDomain(CGImageError) {
    return QStringLiteral("TamselUIKit.CGImageError");
}

QString errorDomain(ImageConverterError) {
    return QStringLiteral("TamselUIKit.ImageConverterError");
}

QString errorDomain(ImageThumbnailGeneratorError) {
    return QStringLiteral("TamselUIKit.ImageThumbnailGeneratorError");
}

} // namespace TamselUIKit
