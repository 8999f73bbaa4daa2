#include "App/AppEnvironment.h"
#include "ErrorReporting/ErrorReporting.h"
#include "Model/MainViewModel.h"
#include "Model/ServiceFailureText.h"
#include "Platform/AppLoggers.h"
#include "Platform/DefaultsKeys.h"
#include "Platform/GuiDelivery.h"

#include <Foundation/CancellationError.h>
#include <MarrowbellCore/Sync/SyncEngine.h>
#include <MusicKit/ApplicationMusicPlayer.h>
#include <QPromise>
#include <chrono>
#include <exception>
#include <utility>

namespace Marrowbell {
namespace {

// The player announces a change in bursts of will-change signals; one update per burst is enough.
constexpr std::chrono::milliseconds playerChangeDebounce{33};

} // namespace

QFuture<void> MainViewModel::start() {
    // The main window may be shown again; a second start would sync and subscribe a second time.
    if (startFuture_) {
        return *startFuture_;
    }
    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    startFuture_ = promise->future();

    auto enterBrowsing = [this, promise] {
        syncEmptyPlaylistContents();
        selectedContainerKindID.set(containerKindID(ContainerKind::playlists));
        navigationPath.set({NavigationItem::root(), NavigationItem::container(ContainerKind::playlists)});
        followPlayer();
        refreshPlayerState();
        promise->finish();
    };
    if (environment_.defaults().boolValue(DefaultsKeys::performedFullSync)) {
        enterBrowsing();
    } else {
        whenFinished(performFullSync(), this, [enterBrowsing](const QFuture<void>&) { enterBrowsing(); });
    }
    return *startFuture_;
}

void MainViewModel::followPlayer() {
    for (QTimer* debounce : {&stateDebounce_, &queueDebounce_}) {
        debounce->setSingleShot(true);
        debounce->setInterval(playerChangeDebounce);
    }
    cancellables.push_back(
        connect(&stateDebounce_, &QTimer::timeout, this, [this] { updatePlaybackStatus(); }));
    cancellables.push_back(
        connect(&queueDebounce_, &QTimer::timeout, this, [this] { refreshPlayerState(); }));
    cancellables.push_back(connect(&player_.state(), &MusicKit::MusicPlayerState::objectWillChange, this,
                                   [this] { stateDebounce_.start(); }));
    cancellables.push_back(connect(&player_.queue(), &MusicKit::MusicPlayerQueue::objectWillChange, this,
                                   [this] { queueDebounce_.start(); }));
    cancellables.push_back(connect(&player_, &MusicKit::ApplicationMusicPlayer::playbackStarted, this,
                                   [this] { announceSongIfPlaying(); }));
    cancellables.push_back(
        connect(&player_, &MusicKit::ApplicationMusicPlayer::startFailed, this,
                [this](const std::exception_ptr& failure) { reportStartFailure(failure); }));
    followEagerEntry();
}

QFuture<void> MainViewModel::performFullSync() {
    // One full sync at a time, so the store never sees two; the requests made meanwhile make one more.
    if (isFullSyncRunning.get()) {
        if (!queuedFullSync_) {
            AppLoggers::sync().info("A full sync is already running; the requested one follows it");
            queuedFullSync_ = std::make_shared<QPromise<void>>();
            queuedFullSync_->start();
        }
        return queuedFullSync_->future();
    }
    isFullSyncRunning.set(true);
    fullSyncFailure.set(std::nullopt);
    showSyncingToast.set(true);
    const auto progress = Foundation::Progress::make(100);
    syncProgress.set(progress);

    SharedStore& store = environment_.store();
    QFuture<void> sync = environment_.background().run([&store, progress](std::stop_token stopToken) {
        MarrowbellCore::SyncEngine engine(store.database());
        engine.syncAll(*progress, stopToken);
    });

    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    whenFinished(sync, this, [this, promise](QFuture<void> finished) {
        recordFullSyncOutcome(finished);
        showSyncingToast.set(false);
        isFullSyncRunning.set(false);
        promise->finish();
        startQueuedFullSync();
    });
    return promise->future();
}

void MainViewModel::recordFullSyncOutcome(QFuture<void>& finished) {
    std::exception_ptr failure;
    try {
        finished.waitForFinished();
    } catch (const std::exception& error) {
        failure = std::current_exception();
        ErrorReporting::report(failure, "sync");
        AppLoggers::sync().error("Failed to perform full sync: %@", {error});
    } catch (...) {
        failure = std::current_exception();
        ErrorReporting::report(failure, "sync");
        AppLoggers::sync().error("Failed to perform full sync: %@", {"an unknown error"});
    }
    if (!failure) {
        environment_.defaults().setValue(DefaultsKeys::performedFullSync, true);
        Q_EMIT librarySynced();
        return;
    }
    // A cancelled sync was stopped on purpose (the application quits): nothing to tell the user.
    try {
        std::rethrow_exception(failure);
    } catch (const Foundation::CancellationError&) {
    } catch (...) {
        fullSyncFailure.set(serviceFailureText(failure, environment_.service().displayName()));
    }
}

void MainViewModel::reportStartSyncFailure(const std::exception_ptr& failure) {
    if (!isFullSyncRunning.get()) {
        fullSyncFailure.set(serviceFailureText(failure, environment_.service().displayName()));
    }
}

void MainViewModel::startQueuedFullSync() {
    if (!queuedFullSync_) {
        return;
    }
    auto queued = std::exchange(queuedFullSync_, nullptr);
    whenFinished(performFullSync(), this, [queued](const QFuture<void>&) { queued->finish(); });
}

} // namespace Marrowbell
