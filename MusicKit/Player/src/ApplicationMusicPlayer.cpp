#include "MusicKit/ApplicationMusicPlayer.h"

#include "MusicKit/MusicPlayerError.h"
#include "MusicKit/PlaybackAssetRequest.h"
#include "PlaybackEngine.h"

#include <QCoreApplication>
#include <QPointer>
#include <QPromise>
#include <QThreadPool>
#include <cmath>

namespace MusicKit {

using Status = MusicPlayerPlaybackStatus;
using ItemKind = PlaybackAssetRequest::ItemKind;

/// An album or a playlist that becomes the queue's songs when the player prepares.
struct ApplicationMusicPlayer::PendingContainer {
    ItemKind kind;
    MusicItemID id;
};

namespace {

std::exception_ptr playerError(MusicPlayerError::Code code, const QString& message) {
    return std::make_exception_ptr(MusicPlayerError(code, message.toStdString()));
}

} // namespace

ApplicationMusicPlayer& ApplicationMusicPlayer::shared() {
    static QPointer<ApplicationMusicPlayer> instance;
    if (!instance) {
        instance = new ApplicationMusicPlayer(QCoreApplication::instance());
    }
    return *instance;
}

ApplicationMusicPlayer::ApplicationMusicPlayer(QObject* parent)
    : QObject(parent)
    , queue_(new MusicPlayerQueue(this))
    , state_(new MusicPlayerState(this))
    , engine_(new PlaybackEngine(this))
    , requests_(std::make_unique<std::stop_source>()) {
    queue_->currentEntryDidChange_ = [this] { handleCurrentEntryChange(); };
    state_->shufflingDidChange_ = [this](bool shuffles) { handleShufflingChange(shuffles); };
    connect(engine_, &PlaybackEngine::endOfMedia, this, &ApplicationMusicPlayer::handleEndOfEntry);
    connect(engine_, &PlaybackEngine::playbackFailed, this, &ApplicationMusicPlayer::handlePlaybackFailure);
}

ApplicationMusicPlayer::~ApplicationMusicPlayer() {
    requests_->request_stop();
    queue_->currentEntryDidChange_ = nullptr;
    state_->shufflingDidChange_ = nullptr;
}

void ApplicationMusicPlayer::setQueue(const std::vector<Song>& songs,
                                      const std::optional<MusicItemID>& startingAt) {
    std::vector<MusicPlayerQueueEntry> entries;
    std::optional<std::size_t> start;
    for (const Song& song : songs) {
        if (startingAt && !start && song.id == *startingAt) {
            start = entries.size();
        }
        entries.push_back(MusicPlayerQueue::makeEntry(song));
    }
    const bool keepsStart = start.has_value();
    replaceQueue(std::move(entries), start.value_or(0), std::nullopt);
    if (state_->shufflesSongs()) {
        queue_->shuffle(keepsStart);
    }
}

void ApplicationMusicPlayer::setQueue(const Album& album) {
    replaceQueue({}, std::nullopt, PendingContainer{ItemKind::album, album.id});
}

void ApplicationMusicPlayer::setQueue(const Playlist& playlist) {
    replaceQueue({}, std::nullopt, PendingContainer{ItemKind::playlist, playlist.id});
}

void ApplicationMusicPlayer::setQueue(const Station& station) {
    replaceQueue({MusicPlayerQueue::makeEntry(station)}, 0, std::nullopt);
}

void ApplicationMusicPlayer::setQueue(const MusicPersonalRecommendationItem& item) {
    switch (item.kind) {
    case MusicPersonalRecommendationItem::Kind::album:
        setQueue(Album{item.id, item.title, {}, item.artwork});
        break;
    case MusicPersonalRecommendationItem::Kind::playlist:
        setQueue(Playlist{item.id, item.title, item.artwork});
        break;
    case MusicPersonalRecommendationItem::Kind::station:
        setQueue(Station{item.id, item.title, item.artwork});
        break;
    }
}

void ApplicationMusicPlayer::replaceQueue(std::vector<MusicPlayerQueueEntry> entries,
                                          std::optional<std::size_t> current,
                                          std::optional<PendingContainer> container) {
    supersede();
    engine_->unload();
    loadedEntryID_.reset();
    stationPosition_ = 0;
    hasStarted_ = false;
    pendingContainer_ = container ? std::make_unique<PendingContainer>(*container) : nullptr;
    state_->setPlaybackStatus(Status::stopped);
    queue_->reset(std::move(entries), current);
}

bool ApplicationMusicPlayer::isPreparedToPlay() const {
    const auto current = queue_->currentEntry();
    return current && loadedEntryID_ == current->id && engine_->isLoaded();
}

QFuture<void> ApplicationMusicPlayer::promised(const std::function<void(Completion)>& operation) {
    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    QFuture<void> future = promise->future();
    operation([promise](std::exception_ptr failure) {
        if (failure) {
            promise->setException(failure);
        }
        promise->finish();
    });
    return future;
}

std::uint64_t ApplicationMusicPlayer::supersede() {
    isStarting_ = false;
    requests_->request_stop();
    requests_ = std::make_unique<std::stop_source>();
    return ++generation_;
}

template <class Result>
void ApplicationMusicPlayer::runRequest(std::function<Result(std::stop_token)> request,
                                        std::function<void(Result)> then, Completion failed) {
    const std::uint64_t generation = generation_;
    const std::stop_token stopToken = requests_->get_token();
    QPointer<ApplicationMusicPlayer> self(this);
    QThreadPool::globalInstance()->start([=] {
        auto result = std::make_shared<std::optional<Result>>();
        std::exception_ptr failure;
        try {
            *result = request(stopToken);
        } catch (...) {
            failure = std::current_exception();
        }
        QCoreApplication* application = QCoreApplication::instance();
        if (!application) {
            return;
        }
        // Back on the GUI thread; the player may be gone by then.
        QMetaObject::invokeMethod(
            application,
            [=] {
                if (!self) {
                    return;
                }
                if (generation != self->generation_) {
                    failed(nullptr);
                } else if (failure) {
                    failed(failure);
                } else {
                    then(std::move(**result));
                }
            },
            Qt::QueuedConnection);
    });
}

QFuture<void> ApplicationMusicPlayer::prepareToPlay() {
    supersede();
    return promised([this](Completion done) { prepare(std::move(done)); });
}

void ApplicationMusicPlayer::prepare(Completion done) {
    if (pendingContainer_) {
        const PendingContainer container = *pendingContainer_;
        runRequest<std::vector<PlaybackAsset>>(
            [container](std::stop_token stopToken) {
                return PlaybackAssetRequest(container.kind, container.id).response(std::move(stopToken));
            },
            [this, done](std::vector<PlaybackAsset> assets) {
                std::vector<MusicPlayerQueueEntry> entries;
                for (const auto& asset : assets) {
                    entries.push_back(MusicPlayerQueue::makeEntry(asset.song));
                }
                pendingContainer_.reset();
                queue_->reset(std::move(entries), 0);
                if (state_->shufflesSongs()) {
                    queue_->shuffle(false);
                }
                prepare(done);
            },
            done);
        return;
    }
    if (!queue_->currentEntry()) {
        done(playerError(MusicPlayerError::Code::emptyQueue, QStringLiteral("The queue is empty.")));
        return;
    }
    if (isPreparedToPlay()) {
        done(nullptr);
        return;
    }
    loadCurrent(std::move(done));
}

void ApplicationMusicPlayer::loadCurrent(Completion done) {
    const MusicPlayerQueueEntry entry = *queue_->currentEntry();
    std::optional<PlaybackAssetRequest> request;
    if (const Song* song = entry.song()) {
        request.emplace(ItemKind::song, song->id);
    } else if (const auto* station = entry.item ? std::get_if<Station>(&*entry.item) : nullptr) {
        request.emplace(ItemKind::station, station->id, stationPosition_);
    } else {
        done(playerError(MusicPlayerError::Code::mediaFailed,
                         QStringLiteral("The entry has nothing playable.")));
        return;
    }
    runRequest<std::vector<PlaybackAsset>>(
        [request = *request](std::stop_token stopToken) { return request.response(std::move(stopToken)); },
        [this, done, entryID = entry.id](std::vector<PlaybackAsset> assets) {
            loadedEntryID_ = entryID;
            loadAsset(QUrl(QString::fromStdString(assets.front().assetURL.absoluteString())), done);
        },
        done);
}

void ApplicationMusicPlayer::loadAsset(const QUrl& assetURL, Completion done) {
    const std::uint64_t generation = generation_;
    engine_->load(assetURL, [this, generation, done](std::optional<QString> failure) {
        if (generation != generation_) {
            done(nullptr);
            return;
        }
        if (failure) {
            loadedEntryID_.reset();
            state_->setPlaybackStatus(Status::stopped);
            done(playerError(MusicPlayerError::Code::mediaFailed, *failure));
            return;
        }
        hasStarted_ = true;
        done(nullptr);
    });
}

QFuture<void> ApplicationMusicPlayer::play() {
    supersede();
    return promised([this](Completion done) { startPlaying(std::move(done)); });
}

void ApplicationMusicPlayer::startPlaying(Completion done) {
    const std::uint64_t generation = generation_;
    isStarting_ = true;
    prepare([this, generation, done](std::exception_ptr failure) {
        if (generation != generation_) {
            done(nullptr);
            return;
        }
        const bool pausedMeanwhile = !isStarting_;
        isStarting_ = false;
        if (failure) {
            state_->setPlaybackStatus(Status::stopped);
            done(failure);
            return;
        }
        if (!pausedMeanwhile) {
            engine_->play();
            state_->setPlaybackStatus(Status::playing);
            Q_EMIT playbackStarted();
        }
        done(nullptr);
    });
}

ApplicationMusicPlayer::Completion ApplicationMusicPlayer::reportingFailure() {
    return [this](std::exception_ptr failure) {
        if (failure) {
            state_->setPlaybackStatus(Status::stopped);
            Q_EMIT startFailed(failure);
        }
    };
}

// The user asked last to pause: a song still loading is made ready without starting.
void ApplicationMusicPlayer::pause() {
    if (isStarting_) {
        isStarting_ = false;
        state_->setPlaybackStatus(Status::paused);
        return;
    }
    supersede();
    engine_->pause();
    if (state_->playbackStatus() == Status::playing) {
        state_->setPlaybackStatus(Status::paused);
    }
}

void ApplicationMusicPlayer::stop() {
    supersede();
    engine_->unload();
    loadedEntryID_.reset();
    stationPosition_ = 0;
    state_->setPlaybackStatus(Status::stopped);
}

QFuture<void> ApplicationMusicPlayer::skipToNextEntry() {
    const bool keepPlaying = isPlayingOrStarting();
    supersede();
    return promised([this, keepPlaying](Completion done) { skip(1, keepPlaying, std::move(done)); });
}

QFuture<void> ApplicationMusicPlayer::skipToPreviousEntry() {
    const bool keepPlaying = isPlayingOrStarting();
    supersede();
    return promised([this, keepPlaying](Completion done) { skip(-1, keepPlaying, std::move(done)); });
}

bool ApplicationMusicPlayer::isPlayingOrStarting() const {
    return isStarting_ || state_->playbackStatus() == Status::playing;
}

void ApplicationMusicPlayer::skip(int step, bool keepPlaying, Completion done) {
    const auto current = queue_->currentIndex();
    if (!current) {
        done(playerError(MusicPlayerError::Code::emptyQueue, QStringLiteral("The queue is empty.")));
        return;
    }
    const std::size_t count = queue_->entries().size();
    const bool isLast = *current + 1 == count;
    const auto& item = queue_->entries()[*current].item;
    if (step > 0 && isLast && item && std::holds_alternative<Station>(*item)) {
        ++stationPosition_;
        loadedEntryID_.reset();
        keepPlaying ? startPlaying(std::move(done)) : prepare(std::move(done));
        return;
    }
    const bool pastEnd = step > 0 ? isLast : *current == 0;
    if (pastEnd && !state_->repeats(MusicPlayerRepeatMode::all)) {
        done(step > 0
                 ? playerError(MusicPlayerError::Code::noNextEntry, QStringLiteral("There is no next entry."))
                 : playerError(MusicPlayerError::Code::noPreviousEntry,
                               QStringLiteral("There is no previous entry.")));
        return;
    }
    const std::size_t target =
        pastEnd ? (step > 0 ? 0 : count - 1) : (step > 0 ? *current + 1 : *current - 1);
    moveTo(target, keepPlaying, std::move(done));
}

void ApplicationMusicPlayer::moveTo(std::size_t index, bool keepPlaying, Completion done) {
    engine_->unload();
    loadedEntryID_.reset();
    stationPosition_ = 0;
    queue_->setCurrentIndex(index);
    keepPlaying ? startPlaying(std::move(done)) : prepare(std::move(done));
}

void ApplicationMusicPlayer::handleEndOfEntry() {
    supersede();
    const auto current = queue_->currentIndex();
    if (!current) {
        stop();
        return;
    }
    const auto& item = queue_->entries()[*current].item;
    if (item && std::holds_alternative<Station>(*item)) {
        ++stationPosition_;
        loadedEntryID_.reset();
        startPlaying(reportingFailure());
    } else if (state_->repeats(MusicPlayerRepeatMode::one)) {
        loadedEntryID_.reset();
        startPlaying(reportingFailure());
    } else if (*current + 1 < queue_->entries().size()) {
        moveTo(*current + 1, true, reportingFailure());
    } else if (state_->repeats(MusicPlayerRepeatMode::all)) {
        moveTo(0, true, reportingFailure());
    } else {
        stop();
    }
}

void ApplicationMusicPlayer::handlePlaybackFailure() {
    supersede();
    loadedEntryID_.reset();
    state_->setPlaybackStatus(Status::stopped);
}

void ApplicationMusicPlayer::handleCurrentEntryChange() {
    const bool keepPlaying = isPlayingOrStarting();
    supersede();
    engine_->unload();
    loadedEntryID_.reset();
    stationPosition_ = 0;
    if (!queue_->currentEntry()) {
        state_->setPlaybackStatus(Status::stopped);
        return;
    }
    if (keepPlaying) {
        startPlaying(reportingFailure());
    }
}

// A queue under way keeps its entry whichever way the mode changes. One that has not started yet starts
// where it would have without shuffle once shuffle is turned off again: a queue set while shuffle was on and
// then told to play in order starts at the song it was set to start at.
void ApplicationMusicPlayer::handleShufflingChange(bool shuffles) {
    const bool underWay = hasStarted_ || isStarting_ || state_->playbackStatus() != Status::stopped;
    const auto before = queue_->currentEntry();
    if (shuffles) {
        queue_->shuffle(underWay);
    } else {
        queue_->unshuffle(!underWay);
    }
    const auto after = queue_->currentEntry();
    if (before && after && before->id != after->id) {
        // A load still under way is of the entry that is no longer current.
        supersede();
        engine_->unload();
        loadedEntryID_.reset();
    }
}

double ApplicationMusicPlayer::playbackTime() const {
    return static_cast<double>(engine_->position()) / 1000.0;
}

void ApplicationMusicPlayer::setPlaybackTime(double seconds) {
    engine_->setPosition(std::llround(std::max(0.0, seconds) * 1000.0));
}

} // namespace MusicKit
