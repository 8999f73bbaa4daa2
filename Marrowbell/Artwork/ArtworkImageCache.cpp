#include "Artwork/ArtworkImageCache.h"

#include "Artwork/ArtworkDownload.h"
#include "Platform/BackgroundTask.h"
#include "Platform/GuiDelivery.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QNetworkAccessManager>
#include <QStringList>
#include <TamselUIKit/ImageCoding.h>
#include <TamselUIKit/ImageErrors.h>
#include <TamselUIKit/ImageThumbnailGenerator.h>
#include <algorithm>
#include <utility>

namespace Marrowbell {
namespace {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

// The PNG text entry that remembers where a stored thumbnail came from.
const QString sourceURLTextKey = u"ArtworkURL"_s;
constexpr auto transferTimeout = 30s;
constexpr int workerThreads = 2;
constexpr std::size_t diskLookupsPerTask = 32;
constexpr int shutdownWaitMilliseconds = 10'000;

QString fileBaseName(const QString& key) {
    return QString::fromLatin1(QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex());
}

QString loadIdentity(const QString& key, const QUrl& url) {
    return key + QChar(0x1F) + url.toString(QUrl::FullyEncoded);
}

bool cameFrom(const QString& storedURL, const QUrl& url) {
    return url.isEmpty() || storedURL == url.toString(QUrl::FullyEncoded);
}

// Runs on a worker. A file that does not decode, or that came from another URL, is a miss.
std::optional<QImage> readStoredThumbnail(const TamselUIKit::CacheDirectory& directory,
                                          const QString& baseName, const QUrl& url) {
    const std::optional<QByteArray> bytes = directory.read(baseName);
    if (!bytes) {
        return std::nullopt;
    }
    try {
        QImage image = TamselUIKit::decodeImage(*bytes);
        if (!cameFrom(image.text(sourceURLTextKey), url)) {
            return std::nullopt;
        }
        return image;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// Runs on a worker. The files are written before the thumbnail is answered; a failed write leaves the
// memory tier alone to hold it.
ArtworkLoadResult storeThumbnail(const TamselUIKit::CacheDirectory& directory, const QStringList& baseNames,
                                 const QByteArray& body, const QUrl& url) {
    QImage thumbnail;
    try {
        thumbnail = TamselUIKit::ImageThumbnailGenerator::createThumbnailOfImageWithSourceData(
            body, ArtworkImageCache::thumbnailPixelSize);
    } catch (const TamselUIKit::ImageError<TamselUIKit::ImageThumbnailGeneratorError>& error) {
        const bool unreadable = error.error() == TamselUIKit::ImageThumbnailGeneratorError::invalidSource;
        return ArtworkLoadResult::failure(unreadable ? ArtworkLoadFailure::invalidImage
                                                     : ArtworkLoadFailure::unableToCreateThumbnail,
                                          QString::fromUtf8(error.what()));
    }
    thumbnail.setText(sourceURLTextKey, url.toString(QUrl::FullyEncoded));
    const QByteArray png = TamselUIKit::encodedImageData(thumbnail, "png");
    for (const QString& baseName : baseNames) {
        try {
            directory.write(baseName, png);
        } catch (const std::exception&) {
        }
    }
    return ArtworkLoadResult::success(std::move(thumbnail));
}

} // namespace

ArtworkImageCache::ArtworkImageCache(const QString& directory, qsizetype memoryCostLimit, QObject* parent)
    : QObject(parent)
    , memory_(memoryCostLimit)
    , directory_(directory, false, u".png"_s, u"artwork"_s)
    , network_(new QNetworkAccessManager(this)) {
    qRegisterMetaType<ArtworkLoadFailure>();
    workers_.setMaxThreadCount(workerThreads);
}

ArtworkImageCache::~ArtworkImageCache() {
    workers_.clear();
    workers_.waitForDone(shutdownWaitMilliseconds);
}

ArtworkImageCache& ArtworkImageCache::shared() {
    static QPointer<ArtworkImageCache> instance;
    if (!instance) {
        instance = new ArtworkImageCache(TamselUIKit::CacheDirectory::pathInUserCache(u"ArtworkCache"_s),
                                         defaultMemoryCostLimit, QCoreApplication::instance());
    }
    return *instance;
}

QUrl ArtworkImageCache::thumbnailURL(const std::optional<MusicKit::Artwork>& artwork) {
    if (!artwork) {
        return {};
    }
    const auto url = artwork->url(thumbnailPixelSize, thumbnailPixelSize);
    return url ? QUrl(QString::fromStdString(url->absoluteString())) : QUrl();
}

QString ArtworkImageCache::filePath(const QString& key) const {
    return directory_.filePath(fileBaseName(key));
}

std::optional<QImage> ArtworkImageCache::cachedImage(const QString& key, const QUrl& url) {
    std::optional<Entry> entry = memory_.value(key);
    if (!entry || !cameFrom(entry->url.toString(QUrl::FullyEncoded), url)) {
        return std::nullopt;
    }
    return entry->image;
}

void ArtworkImageCache::loadImage(const QUrl& url, const QString& key, QObject* context,
                                  Completion completion) {
    enqueue(url, key, Waiter{context, context != nullptr, std::move(completion)});
}

void ArtworkImageCache::requestImage(const QUrl& url, const QString& key) {
    enqueue(url, key, Waiter{});
}

void ArtworkImageCache::enqueue(const QUrl& url, const QString& key, Waiter waiter) {
    const QString identity = loadIdentity(key, url);
    if (const auto found = pending_.constFind(identity); found != pending_.cend()) {
        (*found)->waiters.push_back(std::move(waiter));
        return;
    }
    auto load = std::make_shared<PendingLoad>(PendingLoad{url, key, {}});
    load->waiters.push_back(std::move(waiter));
    pending_.insert(identity, load);
    if (std::optional<QImage> hit = cachedImage(key, url)) {
        // Answered on a later turn all the same, so that callers see one order of events.
        QMetaObject::invokeMethod(
            this, [this, load, image = *hit] { answer(load, ArtworkLoadResult::success(image)); },
            Qt::QueuedConnection);
        return;
    }
    lookOnDisk(load);
}

void ArtworkImageCache::lookOnDisk(const std::shared_ptr<PendingLoad>& load) {
    diskLookups_.push_back(load);
    if (!diskLookupsScheduled_) {
        diskLookupsScheduled_ = true;
        QMetaObject::invokeMethod(this, &ArtworkImageCache::startDiskLookups, Qt::QueuedConnection);
    }
}

// Handing work to a thread costs a system call, and a fast scroll asks for hundreds of thumbnails in one
// turn: the lookups asked for in a turn go to the workers a few dozen per task, which also keeps the work of
// taking in the answers small in each later turn.
void ArtworkImageCache::startDiskLookups() {
    diskLookupsScheduled_ = false;
    const std::vector<std::shared_ptr<PendingLoad>> loads = std::exchange(diskLookups_, {});
    for (std::size_t first = 0; first < loads.size(); first += diskLookupsPerTask) {
        const auto end = loads.begin() + qsizetype(std::min(first + diskLookupsPerTask, loads.size()));
        std::vector<std::shared_ptr<PendingLoad>> batch(loads.begin() + qsizetype(first), end);
        std::vector<std::pair<QString, QUrl>> wanted;
        wanted.reserve(batch.size());
        for (const auto& load : batch) {
            wanted.emplace_back(load->key, load->url);
        }
        auto future = startOnPool(workers_, [directory = directory_, wanted = std::move(wanted)] {
            std::vector<std::optional<QImage>> found;
            found.reserve(wanted.size());
            for (const auto& [key, url] : wanted) {
                found.push_back(readStoredThumbnail(directory, fileBaseName(key), url));
            }
            return found;
        });
        whenFinished(future, this,
                     [this, batch = std::move(batch)](QFuture<std::vector<std::optional<QImage>>> finished) {
                         const std::vector<std::optional<QImage>> found = finished.result();
                         for (std::size_t index = 0; index < batch.size(); ++index) {
                             finishDiskLookup(batch[index], found[index]);
                         }
                     });
    }
}

void ArtworkImageCache::finishDiskLookup(const std::shared_ptr<PendingLoad>& load,
                                         const std::optional<QImage>& stored) {
    if (stored) {
        remember(load->key, load->url, *stored);
        answer(load, ArtworkLoadResult::success(*stored));
    } else if (load->url.isEmpty()) {
        answer(load, ArtworkLoadResult::failure(ArtworkLoadFailure::noArtworkURL,
                                                u"no artwork URL for \"%1\""_s.arg(load->key)));
    } else {
        download(load);
    }
}

// Rows of one album ask for one URL under each song's key: they wait for a single request.
void ArtworkImageCache::download(const std::shared_ptr<PendingLoad>& load) {
    const QString address = load->url.toString(QUrl::FullyEncoded);
    if (const auto found = downloads_.constFind(address); found != downloads_.cend()) {
        (*found)->loads.push_back(load);
        return;
    }
    auto download = std::make_shared<Download>(Download{load->url, {load}});
    downloads_.insert(address, download);
    waitingDownloads_.push_back(std::move(download));
    startWaitingDownloads();
}

// Starting every request of a long list at once costs the GUI thread a long pause, and the connections per
// host are few anyway; the newest waiter goes first because it is the likeliest to be in view.
void ArtworkImageCache::startWaitingDownloads() {
    while (downloadsInFlight_ < maximumDownloadsInFlight && !waitingDownloads_.empty()) {
        std::shared_ptr<Download> download = std::move(waitingDownloads_.back());
        waitingDownloads_.pop_back();
        ++downloadsInFlight_;
        startDownload(download);
    }
}

void ArtworkImageCache::startDownload(const std::shared_ptr<Download>& download) {
    QPointer<ArtworkImageCache> self(this);
    downloadArtwork(*network_, download->url, {maximumBodyBytes, transferTimeout},
                    [self, download](ArtworkDownloadResult downloaded) {
                        if (!self) {
                            return;
                        }
                        --self->downloadsInFlight_;
                        self->startWaitingDownloads();
                        if (downloaded.error) {
                            self->finishDownload(
                                download, ArtworkLoadResult::failure(*downloaded.error, downloaded.detail));
                        } else {
                            self->makeThumbnail(download, std::move(downloaded.body));
                        }
                    });
}

// Loads that join while the thumbnail is being made still share it, though only in memory: their keys were
// not known when the files were written.
void ArtworkImageCache::makeThumbnail(const std::shared_ptr<Download>& download, QByteArray body) {
    QStringList baseNames;
    for (const auto& load : download->loads) {
        baseNames.append(fileBaseName(load->key));
    }
    auto future = startOnPool(
        workers_, [directory = directory_, baseNames = std::move(baseNames), body = std::move(body),
                   url = download->url] { return storeThumbnail(directory, baseNames, body, url); });
    whenFinished(future, this, [this, download](QFuture<ArtworkLoadResult> finished) {
        finishDownload(download, finished.result());
    });
}

void ArtworkImageCache::finishDownload(const std::shared_ptr<Download>& download,
                                       const ArtworkLoadResult& result) {
    downloads_.remove(download->url.toString(QUrl::FullyEncoded));
    for (const auto& load : download->loads) {
        if (result.succeeded()) {
            remember(load->key, load->url, result.image);
        }
        answer(load, result);
    }
}

void ArtworkImageCache::remember(const QString& key, const QUrl& url, const QImage& image) {
    memory_.insert(key, Entry{image, url}, image.sizeInBytes());
}

void ArtworkImageCache::answer(const std::shared_ptr<PendingLoad>& load, const ArtworkLoadResult& result) {
    pending_.remove(loadIdentity(load->key, load->url));
    for (const Waiter& waiter : load->waiters) {
        if (waiter.completion && (!waiter.needsContext || waiter.context)) {
            waiter.completion(result);
        }
    }
    if (result.succeeded()) {
        Q_EMIT imageReady(load->key, load->url, result.image);
    } else {
        Q_EMIT imageFailed(load->key, load->url, *result.error);
    }
}

} // namespace Marrowbell
