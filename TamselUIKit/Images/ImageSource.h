#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QUrl>

namespace TamselUIKit {

/// A reader over image bytes or a local file, with the kit's cap on the memory one decode may take, so
/// that a small file claiming huge dimensions cannot exhaust memory.
class ImageSource {
public:
    static constexpr int decodingAllocationLimitMiB = 128;

    explicit ImageSource(const QByteArray& data);
    explicit ImageSource(const QUrl& fileURL);
    ImageSource(const ImageSource&) = delete;
    ImageSource& operator=(const ImageSource&) = delete;

    QImageReader& reader() { return reader_; }

private:
    QBuffer buffer_;
    QImageReader reader_;
};

} // namespace TamselUIKit
