#include "PlaybackEngine.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <utility>

namespace MusicKit {
namespace {

/// How far past its target a seek may be found and still count as landed.
constexpr qint64 seekLandingWindowMs = 1500;

QString noAudio() {
    return QStringLiteral("The source holds no audio.");
}

} // namespace

PlaybackEngine::PlaybackEngine(QObject* parent)
    : QObject(parent)
    , player_(new QMediaPlayer(this))
    , output_(new QAudioOutput(this)) {
    player_->setAudioOutput(output_);
    loadTimeout_.setSingleShot(true);
    connect(&loadTimeout_, &QTimer::timeout, this, [this] {
        finishLoading(isOpened() ? noAudio() : QStringLiteral("The audio did not load in time."));
    });
    connect(player_, &QMediaPlayer::mediaStatusChanged, this, &PlaybackEngine::handleStatus);
    // The pipeline announces the streams it found apart from its status, often after it.
    connect(player_, &QMediaPlayer::hasAudioChanged, this, &PlaybackEngine::settleLoading);
    connect(player_, &QMediaPlayer::hasVideoChanged, this, &PlaybackEngine::settleLoading);
    connect(player_, &QMediaPlayer::errorOccurred, this, &PlaybackEngine::handleError);
    connect(player_, &QMediaPlayer::positionChanged, this, &PlaybackEngine::confirmSeek);
}

PlaybackEngine::~PlaybackEngine() {
    // The completion may refer to an owner that is being destroyed too.
    pendingLoad_ = nullptr;
}

void PlaybackEngine::load(const QUrl& source, LoadCompletion completion, int timeoutMs) {
    abandonLoading();
    isLoaded_ = false;
    player_->stop();
    // Setting the source it already has would load nothing, as when an entry plays again. The old
    // source's streams are gone before the new load waits for its own.
    player_->setSource(QUrl());
    pendingLoad_ = std::move(completion);
    loadTimeout_.start(timeoutMs);
    player_->setSource(source);
}

void PlaybackEngine::unload() {
    abandonLoading();
    startPosition_.reset();
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
    return isLoaded_ ? player_->position() : startPosition_.value_or(0);
}

void PlaybackEngine::setPosition(qint64 milliseconds) {
    if (!isLoaded_) {
        startPosition_ = milliseconds;
        return;
    }
    requestedPosition_ = milliseconds;
    player_->setPosition(milliseconds);
}

void PlaybackEngine::confirmSeek(qint64 position) {
    if (!requestedPosition_) {
        return;
    }
    // A seek made while the pipeline is still starting can be dropped: playing on from elsewhere
    // means it did not land, so it is made again.
    const qint64 target = *requestedPosition_;
    if (position > target && position < target + seekLandingWindowMs) {
        requestedPosition_.reset();
    } else if (position != target) {
        player_->setPosition(target);
    }
}

qint64 PlaybackEngine::duration() const {
    return player_->duration();
}

void PlaybackEngine::abandonLoading() {
    loadTimeout_.stop();
    requestedPosition_.reset();
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
    } else if (const auto start = std::exchange(startPosition_, std::nullopt)) {
        setPosition(*start);
    }
    completion(std::move(failure));
}

void PlaybackEngine::handleStatus() {
    switch (player_->mediaStatus()) {
    case QMediaPlayer::LoadedMedia:
    case QMediaPlayer::BufferedMedia:
        settleLoading();
        break;
    case QMediaPlayer::InvalidMedia:
        finishLoading(QStringLiteral("The audio cannot be decoded."));
        break;
    case QMediaPlayer::EndOfMedia:
        requestedPosition_.reset();
        if (isLoaded_) {
            Q_EMIT endOfMedia();
        }
        break;
    default:
        break;
    }
}

bool PlaybackEngine::isOpened() const {
    const auto status = player_->mediaStatus();
    return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferedMedia;
}

void PlaybackEngine::settleLoading() {
    if (!pendingLoad_ || !isOpened()) {
        return;
    }
    // Media reported open may not have its streams known yet: a late answer opens before its first audio
    // is parsed. Only media known to hold something else (a picture opens too) and no sound fails here.
    if (player_->hasAudio()) {
        finishLoading(std::nullopt);
    } else if (player_->hasVideo()) {
        finishLoading(noAudio());
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
