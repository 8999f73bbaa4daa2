#include "CacheFileDates.h"
#include "TamselUIKit/CacheKey.h"
#include "TamselUIKit/ImageCoding.h"
#include "TamselUIKit/ImageErrors.h"
#include "TamselUIKit/InMemoryDiskBackedImageCache.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace TamselUIKit;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

QByteArray pngOf(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkMagenta);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return bytes;
}

class ImageCacheTest : public ::testing::Test {
protected:
    InMemoryDiskBackedImageCache makeCache(qsizetype memoryCostLimit = 1 << 20) const {
        return InMemoryDiskBackedImageCache(QDir(folder_.path()), 100, true, "png", memoryCostLimit);
    }
    QString filePath(const QString& key) const { return folder_.filePath(cacheKey(key, true) + u".png"_s); }

    QTemporaryDir folder_;
};

} // namespace

TEST_F(ImageCacheTest, StoresAThumbnailInBothTiers) {
    InMemoryDiskBackedImageCache cache = makeCache();
    cache.setImage(pngOf(4000, 3000), u"https://art.example/1.png"_s);

    EXPECT_EQ(cache.image(u"https://art.example/1.png"_s)->size(), QSize(100, 75));
    EXPECT_EQ(decodeImage(QUrl::fromLocalFile(filePath(u"https://art.example/1.png"_s))).size(),
              QSize(100, 75));

    QTemporaryDir sources;
    const QString source = sources.filePath(u"cover.png"_s);
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pngOf(60, 300));
    file.close();
    cache.setImage(QUrl::fromLocalFile(source), u"cover"_s);
    EXPECT_EQ(cache.image(u"cover"_s)->size(), QSize(20, 100));
}

TEST_F(ImageCacheTest, DiskHitPromotesAndRefreshesTheDate) {
    makeCache().setImage(pngOf(40, 30), u"art"_s);
    const QString path = filePath(u"art"_s);
    CacheFileDates::setAge(path, 1h);

    InMemoryDiskBackedImageCache reader = makeCache();
    EXPECT_EQ(reader.image(u"art"_s)->size(), QSize(40, 30));
    ASSERT_TRUE(CacheFileDates::waitForDateRefreshes());
    EXPECT_LT(CacheFileDates::age(path), 60s);

    QFile::remove(path);
    EXPECT_EQ(reader.image(u"art"_s)->size(), QSize(40, 30));
    reader.removeImage(u"art"_s);
    EXPECT_EQ(reader.image(u"art"_s), std::nullopt);
}

TEST_F(ImageCacheTest, NonImageBytesThrowAndStoreNothing) {
    InMemoryDiskBackedImageCache cache = makeCache();
    try {
        cache.setImage(QByteArray("<html>Not Found</html>"), u"art"_s);
        ADD_FAILURE() << "no error thrown";
    } catch (const ImageError<ImageThumbnailGeneratorError>& error) {
        EXPECT_EQ(error.code(), 0);
        EXPECT_EQ(error.domain(), u"TamselUIKit.ImageThumbnailGeneratorError"_s);
    }
    EXPECT_EQ(cache.image(u"art"_s), std::nullopt);
    EXPECT_TRUE(QDir(folder_.path()).isEmpty());
}

TEST_F(ImageCacheTest, ADamagedFileIsAMissAndStays) {
    QFile file(filePath(u"art"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pngOf(40, 30).left(60));
    file.close();

    EXPECT_EQ(makeCache().image(u"art"_s), std::nullopt);
    EXPECT_TRUE(QFile::exists(filePath(u"art"_s)));
}

TEST_F(ImageCacheTest, TheMemoryTierEvictsBeyondItsCostLimit) {
    // Each 100 x 75 thumbnail costs 30,000 bytes; two fit, the third pushes out the least recently used.
    InMemoryDiskBackedImageCache cache = makeCache(70'000);
    for (const QString& key : {u"a"_s, u"b"_s, u"c"_s}) {
        cache.setImage(pngOf(400, 300), key);
    }
    InMemoryDiskBackedImageCache tooSmall = makeCache(1'000);
    tooSmall.setImage(pngOf(400, 300), u"d"_s);
    for (const QString& key : {u"a"_s, u"b"_s, u"c"_s, u"d"_s}) {
        QFile::remove(filePath(key));
    }

    EXPECT_EQ(cache.image(u"a"_s), std::nullopt);
    EXPECT_TRUE(cache.image(u"b"_s).has_value());
    EXPECT_TRUE(cache.image(u"c"_s).has_value());
    EXPECT_EQ(tooSmall.image(u"d"_s), std::nullopt);
}

TEST_F(ImageCacheTest, SweepRemovesUnreadFilesOnly) {
    InMemoryDiskBackedImageCache cache = makeCache();
    cache.setImage(pngOf(40, 30), u"stale"_s);
    cache.setImage(pngOf(40, 30), u"recent"_s);
    CacheFileDates::setAge(filePath(u"stale"_s), 48h);

    cache.removeFiles(24 * 3600);

    EXPECT_FALSE(QFile::exists(filePath(u"stale"_s)));
    EXPECT_TRUE(QFile::exists(filePath(u"recent"_s)));
    EXPECT_TRUE(cache.image(u"stale"_s).has_value());
}

TEST_F(ImageCacheTest, ServesManyThreadsAtOnce) {
    // A memory tier of four thumbnails, so that threads evict each other's entries all the time.
    InMemoryDiskBackedImageCache cache = makeCache(4 * 30'000);
    const QByteArray source = pngOf(400, 300);
    std::vector<std::jthread> workers;
    for (int worker = 0; worker < 6; ++worker) {
        workers.emplace_back([&cache, &source, worker] {
            for (int round = 0; round < 40; ++round) {
                const QString key = QString::number((worker + round) % 8);
                cache.setImage(source, key);
                const std::optional<QImage> image = cache.image(key);
                EXPECT_TRUE(!image || image->size() == QSize(100, 75));
                if (round % 5 == 0) {
                    cache.removeImage(key);
                }
            }
        });
    }
    workers.clear();
    EXPECT_TRUE(CacheFileDates::waitForDateRefreshes());
}
