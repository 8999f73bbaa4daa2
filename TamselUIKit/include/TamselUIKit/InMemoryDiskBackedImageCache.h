#pragma once

#include "TamselUIKit/CacheDirectory.h"
#include "TamselUIKit/CostLimitedMemoryTier.h"

#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QUrl>
#include <optional>

namespace TamselUIKit {

/// A two-tier cache of images by text key, each reduced to at most `maxPixelSize` on its longer side: a
/// cost-limited memory tier (cost = decoded bytes) in front of one file per key, encoded as
/// `diskCacheType` ("png", "jpeg", ...) and named "<stored key>.<diskCacheType>". A read that finds only
/// the file promotes the image into memory and refreshes the file's date, so that `removeFiles(olderThan)`
/// sweeps what was not read lately.
/// Any thread. Reads never throw; a missing or damaged file is a miss and stays on disk.
class InMemoryDiskBackedImageCache {
public:
    static constexpr qsizetype defaultMemoryCostLimit = 64 * 1024 * 1024;

    /// The directory is `name` inside the user's cache folder.
    InMemoryDiskBackedImageCache(const QString& name, int maxPixelSize, bool shouldHashKeys,
                                 const QByteArray& diskCacheType,
                                 qsizetype memoryCostLimit = defaultMemoryCostLimit);
    InMemoryDiskBackedImageCache(const QDir& cacheDirectory, int maxPixelSize, bool shouldHashKeys,
                                 const QByteArray& diskCacheType,
                                 qsizetype memoryCostLimit = defaultMemoryCostLimit);

    QString cacheDirectory() const { return directory_.path(); }
    int maxPixelSize() const { return maxPixelSize_; }
    bool shouldHashKeys() const { return directory_.shouldHashKeys(); }
    QByteArray diskCacheType() const { return diskCacheType_; }

    std::optional<QImage> image(const QString& key);

    /// Stores a thumbnail of the image file (or the encoded image bytes). Throws what the thumbnail
    /// generator throws (nothing is stored then), ImageError<CGImageError> from encoding or CacheFileError
    /// from writing (the image stays in memory then), and std::invalid_argument for an unhashed key that is
    /// not a plain file name (nothing is stored).
    void setImage(const QUrl& fileURL, const QString& key);
    void setImage(const QByteArray& data, const QString& key);

    void removeImage(const QString& key);

    void removeFiles(double olderThanSeconds);

private:
    void store(const QImage& thumbnail, const QString& key);

    CostLimitedMemoryTier<QImage> memory_;
    CacheDirectory directory_;
    int maxPixelSize_;
    QByteArray diskCacheType_;
};

} // namespace TamselUIKit
