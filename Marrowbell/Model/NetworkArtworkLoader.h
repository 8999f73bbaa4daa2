#pragma once

#include "Model/PlayerArtworkLoader.h"

#include <QHash>
#include <QNetworkAccessManager>
#include <QObject>
#include <QUrl>
#include <TamselUIKit/InMemoryDiskBackedImageCache.h>
#include <memory>

namespace Marrowbell {

/// The player's artwork over HTTP into a kit image cache of 64-pixel PNG thumbnails with hashed file names.
/// Overlapping loads of one address share one request; the thumbnail is made off the GUI thread. Only a 2xx
/// image answer of at most 10 MiB is taken; every request gives up after 30 s. GUI thread.
class NetworkArtworkLoader final : public QObject, public PlayerArtworkLoader {
    Q_OBJECT

public:
    /// The cache "ArtworkCache" in the user's cache folder.
    explicit NetworkArtworkLoader(QObject* parent = nullptr);
    /// The cache's files in `cacheDirectory`.
    explicit NetworkArtworkLoader(const QString& cacheDirectory, QObject* parent = nullptr);

    QFuture<QImage> image(const std::optional<MusicKit::Artwork>& artwork, const QString& key) override;
    QString filePath(const QString& key) const override;

private:
    QFuture<QImage> download(const QUrl& url, const QString& key);

    std::shared_ptr<TamselUIKit::InMemoryDiskBackedImageCache> cache_;
    QNetworkAccessManager network_;
    QHash<QUrl, QFuture<QImage>> loading_;
};

} // namespace Marrowbell
