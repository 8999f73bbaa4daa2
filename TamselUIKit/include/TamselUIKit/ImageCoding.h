#pragma once

#include <QByteArray>
#include <QImage>
#include <QUrl>

namespace TamselUIKit {

// Encoding and decoding of single images. Any thread. Failures throw ImageError<CGImageError>.
// `type` is an image format name as Qt's image writer knows it ("png", "jpeg", ...).

/// The image encoded as `type`; destinationCreationFailed when `type` cannot be written,
/// imageCreationFailed when the encoder fails.
QByteArray encodedImageData(const QImage& image, const QByteArray& type);

/// The first image of the bytes (or of the local file), at its stored size and orientation;
/// invalidSourceData when the input is not a readable image, imageCreationFailed when its first image
/// cannot be decoded (also when decoding would exceed the kit's allocation limit).
QImage decodeImage(const QByteArray& data);
QImage decodeImage(const QUrl& fileURL);

} // namespace TamselUIKit
