#include "PlaybackEngine.h"

#include <QAudioOutput>
#include <QMediaPlayer>

namespace MusicKit {

PlaybackEngine::PlaybackEngine(QObject* parent)
    : QObject(parent)
    , player_(new QMediaPlayer(this))
    , output_(new QAudioOutput(this)) {
    player_->setAudioOutput(output_);
    loadTimeout_.setSingleShot(true);
    connect(&loadTimeout_, &QTimer::timeout, this,
            [this] { finishLoading(QStringLiteral("The audio did not load in time.")); });
    connect(player_, &QMediaPlayer::mediaStatusChanged, this, &PlaybackEngine::handleStatus);
    connect(player_, &QMediaPlayer::errorOccurred, this, &PlaybackEngine::handleError);
}

PlaybackEngine::~PlaybackEngine() {
    // The completion may refer to an owner that is being destroyed too.
    pendingLoad_ = nullptr;
}

void PlaybackEngine::load(const QUrl& source, LoadCompletion completion, int timeoutMs) {
    abandonLoading();
    isLoaded_ = false;
    player_->stop();
    pendingLoad_ = std::move(completion);
    loadTimeout_.start(timeoutMs);
    // Setting the source it already has would load nothing, as when an entry plays again.
    player_->setSource(QUrl());
    player_->setSource(source);
}

void PlaybackEngine::unload() {
    abandonLoading();
    isLoaded_ = false;
    player_->stop();
    player_->setSource(QUrl());
}

void PlaybackEngine::play() {
    player_->play();
}

void PlaybackEngine::pause() {
    player_->pause();
}

qint64 PlaybackEngine::position() const {
    return isLoaded_ ? player_->position() : 0;
}

void PlaybackEngine::setPosition(qint64 milliseconds) {
    player_->setPosition(milliseconds);
}

qint64 PlaybackEngine::duration() const {
    return player_->duration();
}

void PlaybackEngine::abandonLoading() {
    loadTimeout_.stop();
    if (auto completion = std::exchange(pendingLoad_, nullptr)) {
        completion(std::nullopt);
    }
}

void PlaybackEngine::finishLoading(std::optional<QString> failure) {
    loadTimeout_.stop();
    auto completion = std::exchange(pendingLoad_, nullptr);
    if (!completion) {
        return;
    }
    isLoaded_ = !failure;
    if (failure) {
        player_->stop();
    }
    completion(std::move(failure));
}

void PlaybackEngine::handleStatus() {
    switch (player_->mediaStatus()) {
    case QMediaPlayer::LoadedMedia:
    case QMediaPlayer::BufferedMedia:
        finishLoading(std::nullopt);
        break;
    case QMediaPlayer::InvalidMedia:
        finishLoading(QStringLiteral("The audio cannot be decoded."));
        break;
    case QMediaPlayer::EndOfMedia:
        if (isLoaded_) {
            Q_EMIT endOfMedia();
        }
        break;
    default:
        break;
    }
}

void PlaybackEngine::handleError() {
    const QString reason = player_->errorString().isEmpty() ? QStringLiteral("The audio cannot be played.")
                                                            : player_->errorString();
    if (pendingLoad_) {
        finishLoading(reason);
        return;
    }
    if (isLoaded_) {
        isLoaded_ = false;
        Q_EMIT playbackFailed(reason);
    }
}

} // namespace MusicKit
