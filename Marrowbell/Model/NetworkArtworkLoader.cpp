#include "Model/NetworkArtworkLoader.h"

#include "Artwork/ArtworkDownload.h"
#include "Artwork/ArtworkImageCache.h"
#include "Platform/BackgroundTask.h"
#include "Platform/GuiDelivery.h"

#include <QDir>
#include <QPromise>
#include <QThreadPool>
#include <TamselUIKit/CacheDirectory.h>
#include <TamselUIKit/CacheKey.h>
#include <exception>

namespace Marrowbell {
namespace {

constexpr int thumbnailPixels = 64;
constexpr std::chrono::milliseconds requestTimeout{30000};
const QByteArray thumbnailType = QByteArrayLiteral("png");

QFuture<QImage> failedLoad(const std::string& reason) {
    QPromise<QImage> promise;
    promise.start();
    promise.setException(std::make_exception_ptr(ArtworkLoadError(reason)));
    promise.finish();
    return promise.future();
}

/// Stores the thumbnail of `bytes` under `key` and gives it back. A file that cannot be written leaves the
/// thumbnail in memory, which is enough for this run. Worker thread.
QImage storeThumbnail(TamselUIKit::InMemoryDiskBackedImageCache& cache, const QByteArray& bytes,
                      const QString& key) {
    try {
        cache.setImage(bytes, key);
    } catch (const TamselUIKit::CacheFileError&) {
    } catch (const std::exception& error) {
        throw ArtworkLoadError(error.what());
    }
    if (auto stored = cache.image(key)) {
        return *stored;
    }
    throw ArtworkLoadError("The artwork could not be kept");
}

} // namespace

NetworkArtworkLoader::NetworkArtworkLoader(QObject* parent)
    : QObject(parent)
    , cache_(std::make_shared<TamselUIKit::InMemoryDiskBackedImageCache>(
          QStringLiteral("ArtworkCache"), thumbnailPixels, true, thumbnailType)) {}

NetworkArtworkLoader::NetworkArtworkLoader(const QString& cacheDirectory, QObject* parent)
    : QObject(parent)
    , cache_(std::make_shared<TamselUIKit::InMemoryDiskBackedImageCache>(
          QDir(cacheDirectory), thumbnailPixels, true, thumbnailType)) {}

QFuture<QImage> NetworkArtworkLoader::image(const std::optional<MusicKit::Artwork>& artwork,
                                            const QString& key) {
    if (auto cached = cache_->image(key)) {
        return QtFuture::makeReadyFuture(*cached);
    }
    const auto address = artwork ? artwork->url(thumbnailPixels, thumbnailPixels) : std::nullopt;
    if (!address) {
        return failedLoad("No artwork address, and nothing cached under its key");
    }
    const QUrl url(QString::fromStdString(address->absoluteString()));
    if (const auto running = loading_.constFind(url); running != loading_.constEnd()) {
        return *running;
    }
    QFuture<QImage> loading = download(url, key);
    loading_.insert(url, loading);
    return loading;
}

QString NetworkArtworkLoader::filePath(const QString& key) const {
    return QDir(cache_->cacheDirectory())
        .filePath(TamselUIKit::cacheKey(key, cache_->shouldHashKeys()) + u'.' +
                  QString::fromLatin1(thumbnailType));
}

QFuture<QImage> NetworkArtworkLoader::download(const QUrl& url, const QString& key) {
    auto promise = std::make_shared<QPromise<QImage>>();
    promise->start();
    auto finish = [this, promise, url](std::exception_ptr failure, const QImage& image) {
        loading_.remove(url);
        if (failure) {
            promise->setException(failure);
        } else {
            promise->addResult(image);
        }
        promise->finish();
    };

    // The list artwork's limits: an answer that is not a 2xx image of at most 10 MiB is refused unread.
    downloadArtwork(network_, url, {ArtworkImageCache::maximumBodyBytes, requestTimeout},
                    [this, key, finish](ArtworkDownloadResult downloaded) {
                        if (downloaded.error) {
                            finish(std::make_exception_ptr(ArtworkLoadError(downloaded.detail.toStdString())),
                                   {});
                            return;
                        }
                        auto stored = startOnPool(*QThreadPool::globalInstance(),
                                                  [cache = cache_, bytes = std::move(downloaded.body), key] {
                                                      return storeThumbnail(*cache, bytes, key);
                                                  });
                        whenFinished(stored, this, [finish](QFuture<QImage> done) {
                            try {
                                finish(nullptr, done.result());
                            } catch (...) {
                                finish(std::current_exception(), {});
                            }
                        });
                    });
    return promise->future();
}

} // namespace Marrowbell
