#include "Artwork/ArtworkDownload.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <memory>

namespace Marrowbell {
namespace {

using namespace Qt::StringLiterals;

struct DownloadState {
    ArtworkDownloadResult result;
    qint64 maximumBodyBytes = 0;
    std::function<void(ArtworkDownloadResult)> finished;
};

void refuse(DownloadState& state, ArtworkLoadFailure reason, QString detail) {
    if (!state.result.error) {
        state.result.error = reason;
        state.result.detail = std::move(detail);
        state.result.body.clear();
    }
}

// Judged from the headers alone, so that a refused body is not read at all.
void checkHeaders(QNetworkReply& reply, DownloadState& state) {
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && (status.toInt() < 200 || status.toInt() > 299)) {
        refuse(state, ArtworkLoadFailure::httpStatus, u"HTTP status %1"_s.arg(status.toInt()));
        return;
    }
    const QString contentType = reply.header(QNetworkRequest::ContentTypeHeader).toString().trimmed();
    if (status.isValid() && !contentType.startsWith(u"image/"_s, Qt::CaseInsensitive)) {
        refuse(state, ArtworkLoadFailure::notAnImage,
               u"content type \"%1\" is not an image"_s.arg(contentType));
        return;
    }
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > state.maximumBodyBytes) {
        refuse(state, ArtworkLoadFailure::bodyTooLarge,
               u"body of %1 bytes is too large"_s.arg(length.toLongLong()));
    }
}

void readAvailable(QNetworkReply& reply, DownloadState& state) {
    if (state.result.error || !reply.isOpen()) {
        return;
    }
    state.result.body += reply.readAll();
    if (state.result.body.size() > state.maximumBodyBytes) {
        refuse(state, ArtworkLoadFailure::bodyTooLarge,
               u"body larger than %1 bytes"_s.arg(state.maximumBodyBytes));
    }
}

// Aborted on a later turn: aborting inside the reply's own signal makes it report its failure twice.
void abortWhenRefused(QNetworkReply& reply, const DownloadState& state) {
    if (state.result.error && reply.isRunning()) {
        QMetaObject::invokeMethod(&reply, &QNetworkReply::abort, Qt::QueuedConnection);
    }
}

void finish(QNetworkReply& reply, DownloadState& state) {
    checkHeaders(reply, state);
    readAvailable(reply, state);
    if (!state.result.error && reply.error() != QNetworkReply::NoError) {
        refuse(state, ArtworkLoadFailure::transportFailed, reply.errorString());
    }
    if (!state.result.error && !reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) {
        refuse(state, ArtworkLoadFailure::transportFailed, u"not an HTTP answer"_s);
    }
    if (state.finished) {
        auto finished = std::move(state.finished);
        state.finished = nullptr;
        finished(std::move(state.result));
    }
}

} // namespace

void downloadArtwork(QNetworkAccessManager& network, const QUrl& url, const ArtworkDownloadLimits& limits,
                     std::function<void(ArtworkDownloadResult)> finished) {
    QNetworkRequest request(url);
    request.setTransferTimeout(int(limits.transferTimeout.count()));
    QNetworkReply* reply = network.get(request);
    auto state = std::make_shared<DownloadState>();
    state->maximumBodyBytes = limits.maximumBodyBytes;
    state->finished = std::move(finished);

    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, state] {
        checkHeaders(*reply, *state);
        abortWhenRefused(*reply, *state);
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, state] {
        readAvailable(*reply, *state);
        abortWhenRefused(*reply, *state);
    });
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, state] {
        reply->deleteLater();
        finish(*reply, *state);
    });
}

} // namespace Marrowbell
