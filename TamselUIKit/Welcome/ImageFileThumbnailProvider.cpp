#include "TamselUIKit/ThumbnailProvider.h"

#include <QImageReader>
#include <stdexcept>

namespace TamselUIKit {

QImage ImageFileThumbnailProvider::thumbnail(const QUrl& url, const QSize& pixelSize) const {
    QImageReader reader(url.toLocalFile());
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > pixelSize.width() || size.height() > pixelSize.height())) {
        reader.setScaledSize(size.scaled(pixelSize, Qt::KeepAspectRatio));
    }
    QImage image = reader.read();
    if (image.isNull()) {
        throw std::runtime_error(reader.errorString().toStdString());
    }
    return image;
}

} // namespace TamselUIKit
