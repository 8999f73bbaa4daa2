#include "Images/ImageSource.h"

namespace TamselUIKit {

ImageSource::ImageSource(const QByteArray& data) {
    buffer_.setData(data);
    buffer_.open(QIODevice::ReadOnly);
    reader_.setDevice(&buffer_);
    reader_.setAllocationLimit(decodingAllocationLimitMiB);
}

ImageSource::ImageSource(const QUrl& fileURL) {
    // A remote URL gives an empty name, which reads as no image at all.
    reader_.setFileName(fileURL.isLocalFile() ? fileURL.toLocalFile() : QString());
    reader_.setAllocationLimit(decodingAllocationLimitMiB);
}

} // namespace TamselUIKit
