#pragma once

#include <QByteArray>
#include <QUrl>

namespace TamselUIKit {

/// Re-encodes the first image of a source from one image format to another ("png", "jpeg", ...).
/// Stateless; any thread. Failures throw ImageError<ImageConverterError>: invalidSource (0) when the
/// input is not a readable image, conversionFailed (1) when the target format cannot be written or the
/// image cannot be decoded or encoded.
class ImageConverter {
public:
    /// `fromType` is a hint; the content decides when it disagrees.
    static QByteArray convertImageWithSourceData(const QByteArray& sourceData, const QByteArray& fromType,
                                                 const QByteArray& toType);
    static QByteArray convertImageAtSourceURL(const QUrl& sourceURL, const QByteArray& fromType,
                                              const QByteArray& toType);
};

} // namespace TamselUIKit
