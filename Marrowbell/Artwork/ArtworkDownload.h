#pragma once

#include "Artwork/ArtworkLoadResult.h"

#include <QByteArray>
#include <QUrl>
#include <chrono>
#include <functional>
#include <optional>

class QNetworkAccessManager;

namespace Marrowbell {

/// The body of one artwork answer, or why it was refused.
struct ArtworkDownloadResult {
    QByteArray body;
    std::optional<ArtworkLoadFailure> error;
    QString detail;
};

/// Limits of one artwork download.
struct ArtworkDownloadLimits {
    qint64 maximumBodyBytes;
    std::chrono::milliseconds transferTimeout;
};

/// Fetches `url` with `network`, accepting only a 2xx answer whose content type is an image type and whose
/// body fits `limits.maximumBodyBytes`; a refused answer is aborted as soon as the refusal is known, so an
/// oversized body is never held whole. Calls `finished` exactly once, on the thread of `network` (the GUI
/// thread), after this call has returned.
void downloadArtwork(QNetworkAccessManager& network, const QUrl& url, const ArtworkDownloadLimits& limits,
                     std::function<void(ArtworkDownloadResult)> finished);

} // namespace Marrowbell
