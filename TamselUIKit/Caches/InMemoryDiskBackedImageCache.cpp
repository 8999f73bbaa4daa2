#include "TamselUIKit/InMemoryDiskBackedImageCache.h"

#include "TamselUIKit/ImageCoding.h"
#include "TamselUIKit/ImageErrors.h"
#include "TamselUIKit/ImageThumbnailGenerator.h"

#include <stdexcept>

namespace TamselUIKit {
InMemoryDiskBackedImageCache::InMemoryDiskBackedImageCache(const QString& name, int maxPixelSize,
                                                           bool shouldHashKeys,
                                                           const QByteArray& diskCacheType,
                                                           qsizetype memoryCostLimit)
    : InMemoryDiskBackedImageCache(QDir(CacheDirectory::pathInUserCache(name)), maxPixelSize, shouldHashKeys,
                                   diskCacheType, memoryCostLimit) {}

InMemoryDiskBackedImageCache::InMemoryDiskBackedImageCache(const QDir& cacheDirectory, int maxPixelSize,
                                                           bool shouldHashKeys,
                                                           const QByteArray& diskCacheType,
                                                           qsizetype memoryCostLimit)
    : memory_(memoryCostLimit)
    , directory_(cacheDirectory.absolutePath(), shouldHashKeys,
                 u'.' + QString::fromLatin1(diskCacheType.toLower()), QStringLiteral("image cache"))
    , maxPixelSize_(maxPixelSize)
    , diskCacheType_(diskCacheType) {}

std::optional<QImage> InMemoryDiskBackedImageCache::image(const QString& key) {
    const std::optional<QString> stored = directory_.storedKey(key);
    if (!stored) {
        return std::nullopt;
    }
    if (std::optional<QImage> inMemory = memory_.value(*stored)) {
        return inMemory;
    }
    QImage decoded;
    try {
        decoded = decodeImage(QUrl::fromLocalFile(directory_.filePath(*stored)));
    } catch (const ImageError<CGImageError>&) {
        return std::nullopt;
    }
    memory_.insert(*stored, decoded, decoded.sizeInBytes());
    directory_.refreshModificationDateLater(*stored);
    return decoded;
}

void InMemoryDiskBackedImageCache::setImage(const QUrl& fileURL, const QString& key) {
    store(ImageThumbnailGenerator::createThumbnailOfImageAtURL(fileURL, maxPixelSize_), key);
}

void InMemoryDiskBackedImageCache::setImage(const QByteArray& data, const QString& key) {
    store(ImageThumbnailGenerator::createThumbnailOfImageWithSourceData(data, maxPixelSize_), key);
}

void InMemoryDiskBackedImageCache::store(const QImage& thumbnail, const QString& key) {
    const std::optional<QString> stored = directory_.storedKey(key);
    if (!stored) {
        throw std::invalid_argument("cache key is not a plain file name");
    }
    memory_.insert(*stored, thumbnail, thumbnail.sizeInBytes());
    directory_.write(*stored, encodedImageData(thumbnail, diskCacheType_));
}

void InMemoryDiskBackedImageCache::removeImage(const QString& key) {
    if (const std::optional<QString> stored = directory_.storedKey(key)) {
        memory_.remove(*stored);
        directory_.remove(*stored);
    }
}

void InMemoryDiskBackedImageCache::removeFiles(double olderThanSeconds) {
    directory_.removeFiles(olderThanSeconds);
}

} // namespace TamselUIKit
