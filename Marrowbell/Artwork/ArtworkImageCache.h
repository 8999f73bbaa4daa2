#pragma once

#include "Artwork/ArtworkLoadResult.h"

#include <MusicKit/Artwork.h>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QUrl>
#include <TamselUIKit/CacheDirectory.h>
#include <TamselUIKit/CostLimitedMemoryTier.h>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QNetworkAccessManager;

namespace Marrowbell {

/// The process-wide store of artwork thumbnails (at most 64 pixels on the longer side): a cost-limited
/// memory tier in front of one PNG per key, named by the SHA-256 of the key, in a cache folder. Each entry
/// remembers the URL it came from, so an item whose artwork URL changes is fetched again.
///
/// GUI thread only. Nothing here blocks: `cachedImage` reads memory only, and a load reads the disk,
/// downloads, decodes and scales off the GUI thread, then answers on the GUI thread by its completion and by
/// `imageReady` / `imageFailed`. Concurrent loads of one URL share one download, whatever their keys, and its
/// thumbnail is kept under every key that waited for it. At most
/// `maximumDownloadsInFlight` downloads run at once; the others wait, the most recently asked for first, so
/// that after a fast scroll the rows in view are fetched before those scrolled past. An answer is accepted
/// only with a 2xx status, an image content type and a body of at most `maximumBodyBytes`; a refused or
/// undecodable answer stores nothing.
class ArtworkImageCache : public QObject {
    Q_OBJECT

public:
    static constexpr int thumbnailPixelSize = 64;
    static constexpr qint64 maximumBodyBytes = 10 * 1024 * 1024;
    static constexpr qsizetype defaultMemoryCostLimit = 32 * 1024 * 1024;
    static constexpr int maximumDownloadsInFlight = 4;

    using Completion = std::function<void(const ArtworkLoadResult&)>;

    /// Files go into `directory` (created when missing; when it cannot be, only the memory tier works).
    explicit ArtworkImageCache(const QString& directory, qsizetype memoryCostLimit = defaultMemoryCostLimit,
                               QObject* parent = nullptr);
    ~ArtworkImageCache() override;

    /// The application's cache, its files in "ArtworkCache" of the user's cache folder; made on first use
    /// and destroyed with the application object.
    static ArtworkImageCache& shared();

    /// The address of `artwork` at thumbnail size; empty when there is no artwork or it has no address.
    static QUrl thumbnailURL(const std::optional<MusicKit::Artwork>& artwork);

    QString directory() const { return directory_.path(); }
    /// The PNG file of `key`: 64 lower-case hexadecimal digits of its SHA-256, then ".png".
    QString filePath(const QString& key) const;

    /// The thumbnail in memory under `key`, when it came from `url` (any URL when `url` is empty).
    std::optional<QImage> cachedImage(const QString& key, const QUrl& url = {});

    /// Loads the thumbnail of `key` from memory, disk or `url`, and calls `completion` on a later turn of the
    /// event loop, unless `context` has been destroyed by then.
    void loadImage(const QUrl& url, const QString& key, QObject* context, Completion completion);
    /// As loadImage, answering only through the signals.
    void requestImage(const QUrl& url, const QString& key);

    /// Loads that have not answered yet, one per key and URL.
    qsizetype loadsInFlight() const { return pending_.size(); }

Q_SIGNALS:
    void imageReady(const QString& key, const QUrl& url, const QImage& image);
    void imageFailed(const QString& key, const QUrl& url, Marrowbell::ArtworkLoadFailure error);

private:
    struct Entry {
        QImage image;
        QUrl url;
    };
    struct Waiter {
        QPointer<QObject> context;
        bool needsContext = false;
        Completion completion;
    };
    struct PendingLoad {
        QUrl url;
        QString key;
        std::vector<Waiter> waiters;
    };
    /// One request for a URL and the loads, one per key, that wait for it.
    struct Download {
        QUrl url;
        std::vector<std::shared_ptr<PendingLoad>> loads;
    };

    void enqueue(const QUrl& url, const QString& key, Waiter waiter);
    void lookOnDisk(const std::shared_ptr<PendingLoad>& load);
    void startDiskLookups();
    void finishDiskLookup(const std::shared_ptr<PendingLoad>& load, const std::optional<QImage>& stored);
    void download(const std::shared_ptr<PendingLoad>& load);
    void startWaitingDownloads();
    void startDownload(const std::shared_ptr<Download>& download);
    void makeThumbnail(const std::shared_ptr<Download>& download, QByteArray body);
    void finishDownload(const std::shared_ptr<Download>& download, const ArtworkLoadResult& result);
    void answer(const std::shared_ptr<PendingLoad>& load, const ArtworkLoadResult& result);
    void remember(const QString& key, const QUrl& url, const QImage& image);

    TamselUIKit::CostLimitedMemoryTier<Entry> memory_;
    TamselUIKit::CacheDirectory directory_;
    QNetworkAccessManager* network_;
    QHash<QString, std::shared_ptr<PendingLoad>> pending_;
    std::vector<std::shared_ptr<PendingLoad>> diskLookups_;
    bool diskLookupsScheduled_ = false;
    QHash<QString, std::shared_ptr<Download>> downloads_;
    std::vector<std::shared_ptr<Download>> waitingDownloads_;
    int downloadsInFlight_ = 0;
    QThreadPool workers_;
};

} // namespace Marrowbell
