#include "App/AppEnvironment.h"
#include "Model/MainViewModel.h"
#include "Model/MainViewModelPlaybackSupport.h"
#include "Observation/ObservationTracking.h"
#include "Platform/AppLoggers.h"

#include <MusicKit/ApplicationMusicPlayer.h>
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <utility>

namespace Marrowbell {
namespace {

using MusicKit::MusicPlayerPlaybackStatus;

// How long a song that a list has just asked to play counts as playing before the player reports it.
constexpr std::chrono::seconds eagerEntryLifetime{5};
constexpr std::chrono::seconds playbackTimeInterval{1};

std::optional<QString> optionalText(const std::optional<std::string>& text) {
    return text ? std::optional(QString::fromStdString(*text)) : std::nullopt;
}

/// The entries from the current one to the end; all of them without a current entry.
std::vector<MusicKit::MusicPlayerQueueEntry> upNextEntries(const MusicKit::MusicPlayerQueue& playerQueue) {
    const auto& entries = playerQueue.entries();
    const std::size_t first = playerQueue.currentIndex().value_or(0);
    return {entries.begin() + static_cast<std::ptrdiff_t>(std::min(first, entries.size())), entries.end()};
}

} // namespace

void MainViewModel::followEagerEntry() {
    eagerEntryExpiry_.setSingleShot(true);
    eagerEntryExpiry_.setTimerType(Qt::PreciseTimer);
    cancellables.push_back(
        connect(&eagerEntryExpiry_, &QTimer::timeout, this, [this] { eagerEntryDidChange(); }));
    const auto eagerState = [](const MainViewModel& model) {
        return std::pair(model.eagerEntry.get().has_value(), model.eagerEntryDate.get());
    };
    eagerEntryObservation_ = ObservationTracking::observe(
        this, eagerState, [this](const auto&, const auto&) { eagerEntryDidChange(); });
}

// Without this, a stop or a play that never starts would leave the bar showing a song playing: the player
// announces nothing more once it has stopped.
void MainViewModel::eagerEntryDidChange() {
    updatePlaybackStatus();
    const auto& date = eagerEntryDate.get();
    const qint64 freshFor =
        eagerEntry.get() && date
            ? QDateTime::currentDateTimeUtc().msecsTo(date->addSecs(eagerEntryLifetime.count())) + 1
            : 0;
    if (freshFor > 0) {
        eagerEntryExpiry_.start(static_cast<int>(freshFor));
    } else {
        eagerEntryExpiry_.stop();
    }
}

bool MainViewModel::hasFreshEagerEntry() const {
    const auto& date = eagerEntryDate.get();
    return eagerEntry.get() && date &&
           *date > QDateTime::currentDateTimeUtc().addSecs(-eagerEntryLifetime.count());
}

void MainViewModel::refreshPlayerState() {
    const auto current = player_.queue().currentEntry();
    std::optional<PlaybackItem> item;
    if (hasFreshEagerEntry() && (!current || current->title != eagerEntry.get()->title) && !isStopped.get()) {
        item = PlaybackItem(*eagerEntry.get());
        AppLoggers::playback().info("Using eager player entry: %s", {item->title()});
    } else {
        if (current) {
            item = PlaybackItem(*current);
        }
        AppLoggers::playback().info("Using actual player entry: %s", {item ? item->title() : "nil"});
    }

    playingTitle.set(item ? std::optional(QString::fromStdString(item->title())) : std::nullopt);
    playingSubtitle.set(item ? optionalText(item->subtitle()) : std::nullopt);
    playingArtwork.set(item ? item->artwork() : std::nullopt);
    clearEagerEntryIfCaughtUp();
    queue.set(upNextEntries(player_.queue()));

    // A check still under way for an earlier item must not answer for this one.
    ++playbackSupport_->libraryCheckGeneration;
    if (item) {
        checkLibraryState(*item, QString::fromStdString(item->title()));
    } else {
        canAddToLibrary.set(false);
        shareLink.set(std::nullopt);
    }

    if (pendingPlayerThumbnailTask) {
        pendingPlayerThumbnailTask->request_stop();
    }
    pendingPlayerThumbnailTask.emplace();
    loadPlayerArtwork(item, pendingPlayerThumbnailTask->get_token());

    playingDuration.set(item ? item->duration() : 0.0);
    currentPlayingTime.set(player_.playbackTime());
    Q_EMIT environment_.notifications().reloadVisibleRows();
}

void MainViewModel::updatePlaybackStatus() {
    const bool wasPlaying = isPlaying.get();
    const auto status = player_.state().playbackStatus();
    // A pause while the song loads is the player's answer: the song no longer counts as playing.
    const bool playsNow = status == MusicPlayerPlaybackStatus::playing ||
                          (status != MusicPlayerPlaybackStatus::paused && hasFreshEagerEntry());
    isPlaying.set(playsNow);
    currentPlayingTime.set(player_.playbackTime());
    AppLoggers::playback().debug("Playback status: %ld", {static_cast<long>(status)});

    if (!wasPlaying && playsNow) {
        playbackTimer = std::make_unique<QTimer>();
        playbackTimer->setInterval(playbackTimeInterval);
        connect(playbackTimer.get(), &QTimer::timeout, this, [this] { updatePlaybackTime(); });
        playbackTimer->start();
        Q_EMIT environment_.notifications().reloadVisibleRows();
    } else if (wasPlaying && !playsNow) {
        playbackTimer.reset();
        Q_EMIT environment_.notifications().reloadVisibleRows();
    }
    clearEagerEntryIfCaughtUp();
}

void MainViewModel::clearEagerEntryIfCaughtUp() {
    const auto current = player_.queue().currentEntry();
    const auto& eager = eagerEntry.get();
    if (current.has_value() != eager.has_value() || (current && current->title != eager->title)) {
        return;
    }
    // Both absent leaves nothing to clear.
    if (eager && player_.state().playbackStatus() == MusicPlayerPlaybackStatus::playing) {
        AppLoggers::playback().debug("Cleared eager entry");
        eagerEntry.set(std::nullopt);
    }
}

void MainViewModel::playDidFail() {
    eagerEntry.set(std::nullopt);
    eagerEntryDate.set(std::nullopt);
    refreshPlayerState();
    updatePlaybackStatus();
}

void MainViewModel::updatePlaybackTime() {
    currentPlayingTime.set(player_.playbackTime());
}

} // namespace Marrowbell
