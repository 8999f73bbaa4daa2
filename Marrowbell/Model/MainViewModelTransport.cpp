#include "ErrorReporting/ErrorReporting.h"
#include "LibraryModels/FutureSupport.h"
#include "Model/MainViewModel.h"
#include "Platform/AppLoggers.h"
#include "Platform/GuiDelivery.h"

#include <MusicKit/ApplicationMusicPlayer.h>
#include <QPromise>
#include <chrono>
#include <exception>
#include <string_view>

namespace Marrowbell {
namespace {

// Lets the player announce its emptied queue before the fields are reset.
constexpr std::chrono::milliseconds stopSettleDelay{100};

/// Runs `onSuccess` once `operation` of the player has succeeded; a failure is reported as `name` and logged
/// with `message`. The returned future finishes after either, on the GUI thread.
template <class OnSuccess>
QFuture<void> afterPlayerOperation(QFuture<void> operation, QObject* receiver, std::string_view name,
                                   std::string_view message, OnSuccess onSuccess) {
    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    whenFinished(operation, receiver, [promise, name, message, onSuccess](QFuture<void> finished) {
        try {
            finished.waitForFinished();
            onSuccess();
        } catch (const std::exception& error) {
            ErrorReporting::report(std::current_exception(), name);
            AppLoggers::playback().error(message, {error});
        }
        promise->finish();
    });
    return promise->future();
}

} // namespace

void MainViewModel::reportStartFailure(const std::exception_ptr& failure) {
    ErrorReporting::report(failure, "play_song");
    logFailure(AppLoggers::playback(), "Failed to play song: %@", failure);
    showPlayError.set(true);
}

void MainViewModel::pause() {
    player_.pause();
}

QFuture<void> MainViewModel::stop() {
    player_.stop();
    player_.queue().setEntries({});
    // A song still loading no longer stands for what plays, also not for the refreshes that the player's
    // stop brings before the settle delay has passed: it would load the artwork of a song that never played.
    eagerEntry.set(std::nullopt);
    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    // Without the model the timer never fires, and the dropped promise cancels the future.
    QTimer::singleShot(stopSettleDelay, this, [this, promise] {
        refreshPlayerState();
        if (pendingPlayerThumbnailTask) {
            pendingPlayerThumbnailTask->request_stop();
            pendingPlayerThumbnailTask.reset();
        }
        artworkForPlayingItemID.set(std::nullopt);
        playingItemIDForArtwork.set(std::nullopt);
        isStopped.set(true);
        promise->finish();
    });
    return promise->future();
}

QFuture<void> MainViewModel::resume() {
    isStopped.set(false);
    return afterPlayerOperation(player_.play(), this, "resume_playback", "Failed to resume playback: %@",
                                [] {});
}

QFuture<void> MainViewModel::skipToPreviousEntry() {
    eagerEntry.set(std::nullopt);
    return afterPlayerOperation(player_.skipToPreviousEntry(), this, "skip_previous",
                                "Failed to skip to previous entry: %@", [this] { refreshPlayerState(); });
}

QFuture<void> MainViewModel::skipToNextEntry() {
    eagerEntry.set(std::nullopt);
    return afterPlayerOperation(player_.skipToNextEntry(), this, "skip_next",
                                "Failed to skip to next entry: %@", [this] { refreshPlayerState(); });
}

} // namespace Marrowbell
