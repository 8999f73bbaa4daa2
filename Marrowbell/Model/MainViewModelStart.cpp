#include "App/AppEnvironment.h"
#include "ErrorReporting/ErrorReporting.h"
#include "Model/MainViewModel.h"
#include "Platform/AppLoggers.h"
#include "Platform/DefaultsKeys.h"
#include "Platform/GuiDelivery.h"

#include <MarrowbellCore/Sync/SyncEngine.h>
#include <MusicKit/ApplicationMusicPlayer.h>
#include <QPromise>
#include <chrono>
#include <exception>

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
}

QFuture<void> MainViewModel::performFullSync() {
    // A second sync would end while the first still runs and hide its toast.
    if (isFullSyncRunning.get()) {
        AppLoggers::sync().info("A full sync is already running; ignoring the request");
        return QtFuture::makeReadyFuture();
    }
    isFullSyncRunning.set(true);
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
        try {
            finished.waitForFinished();
            environment_.defaults().setValue(DefaultsKeys::performedFullSync, true);
        } catch (const std::exception& error) {
            ErrorReporting::report(std::current_exception(), "sync");
            AppLoggers::sync().error("Failed to perform full sync: %@", {error});
        } catch (...) {
            ErrorReporting::report(std::current_exception(), "sync");
            AppLoggers::sync().error("Failed to perform full sync: %@", {"an unknown error"});
        }
        showSyncingToast.set(false);
        isFullSyncRunning.set(false);
        promise->finish();
    });
    return promise->future();
}

} // namespace Marrowbell
