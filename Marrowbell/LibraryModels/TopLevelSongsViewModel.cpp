#include "LibraryModels/TopLevelSongsViewModel.h"

#include "App/AppEnvironment.h"
#include "ErrorReporting/ErrorReporting.h"
#include "Library/LibrarySortDescriptors.h"
#include "LibraryModels/FutureSupport.h"
#include "LibraryModels/RefreshThrottle.h"
#include "LibraryModels/SongListPlayback.h"
#include "LibraryModels/StoredSortChoice.h"
#include "Model/MainViewModel.h"
#include "Model/PlaybackError.h"
#include "Platform/AppLoggers.h"
#include "Platform/DefaultsKeys.h"
#include "Platform/GuiDelivery.h"

#include <MarrowbellCore/Sync/SyncEngine.h>

namespace Marrowbell {
namespace {

using MarrowbellCore::LocalSong;

void reportLoadFailure(const std::exception_ptr& error) {
    ErrorReporting::report(error, "load_songs");
    logFailure(AppLoggers::sync(), "Failed to load songs: %@", error);
}

} // namespace

TopLevelSongsViewModel::TopLevelSongsViewModel(MainViewModel& mainViewModel, AppEnvironment& environment,
                                               MusicKit::ApplicationMusicPlayer& player, QObject* parent)
    : QObject(parent)
    , mainViewModel_(mainViewModel)
    , environment_(environment)
    , player_(player) {}

SongSortOrder TopLevelSongsViewModel::sortOrder() const {
    registrar_.access(sortOrderKey_.key());
    return songSortOrderFromStored(environment_.defaults().integerValue(DefaultsKeys::sortSongsBy));
}

void TopLevelSongsViewModel::setSortOrder(SongSortOrder order) {
    registrar_.withMutation(sortOrderKey_.key(), [&] {
        environment_.defaults().setValue(DefaultsKeys::sortSongsBy, static_cast<qint64>(order));
    });
    startLoadAfterSortChange();
}

MusicSortDirection TopLevelSongsViewModel::sortDirection() const {
    registrar_.access(sortDirectionKey_.key());
    return sortDirectionFromStored(environment_.defaults().integerValue(DefaultsKeys::sortSongsDirection));
}

void TopLevelSongsViewModel::setSortDirection(MusicSortDirection direction) {
    registrar_.withMutation(sortDirectionKey_.key(), [&] {
        environment_.defaults().setValue(DefaultsKeys::sortSongsDirection, static_cast<qint64>(direction));
    });
    startLoadAfterSortChange();
}

MarrowbellCore::SortDescriptor<LocalSong> TopLevelSongsViewModel::sortDescriptor() const {
    return songSortDescriptor(sortOrder(), sortDirection());
}

std::vector<SongSelection> TopLevelSongsViewModel::rows() const {
    return songSelectionRows(mainViewModel_.topLevelSongs.snapshot());
}

void TopLevelSongsViewModel::startLoadAfterSortChange() {
    // The setter returns at once; the reload finishes on its own.
    load(false);
}

QFuture<void> TopLevelSongsViewModel::load(bool sync) {
    const std::uint64_t generation = ++loadsStarted_;
    auto read =
        environment_.store().run([descriptor = sortDescriptor()](MarrowbellCore::LocalDatabase& database) {
            return database.allLibrarySongs(descriptor);
        });
    auto promise = startedPromise();
    whenFinished(read, this, [this, promise, generation, sync](QFuture<std::vector<LocalSong>> finished) {
        if (auto error = failureOf(finished)) {
            reportLoadFailure(error);
            promise->finish();
            return;
        }
        // A load started later (a new sort order) may have installed its newer list already.
        if (generation > newestInstalledLoad_) {
            newestInstalledLoad_ = generation;
            mainViewModel_.topLevelSongs.set(finished.takeResult());
            if (!mainViewModel_.selectedTopLevelSongID.get()) {
                mainViewModel_.selectedTopLevelSongID.set(SongSelection::play().id());
            }
        }
        if (!sync) {
            promise->finish();
            return;
        }
        whenFinished(syncSongsIfDue(), this, [promise](const QFuture<void>&) { promise->finish(); });
    });
    return promise->future();
}

QFuture<void> TopLevelSongsViewModel::syncSongsIfDue() {
    if (!RefreshThrottle::isDue(environment_.defaults(), DefaultsKeys::lastSongSync)) {
        AppLoggers::sync().notice("Skipping song sync because there was a recent one");
        return finishedFuture();
    }
    SharedStore& store = environment_.store();
    auto sync = environment_.background().run([&store](std::stop_token stopToken) {
        MarrowbellCore::SyncEngine engine(store.database());
        engine.syncSongs(stopToken);
    });
    auto promise = startedPromise();
    whenFinished(sync, this, [this, promise](QFuture<void> finished) {
        if (auto error = failureOf(finished)) {
            reportLoadFailure(error);
        } else {
            RefreshThrottle::markRefreshed(environment_.defaults(), DefaultsKeys::lastSongSync);
        }
        promise->finish();
    });
    return promise->future();
}

QFuture<void> TopLevelSongsViewModel::play(const QString& songID) {
    if (!mainViewModel_.topLevelSongs.get().empty()) {
        return playLoaded(songID);
    }
    auto promise = startedPromise();
    whenFinished(load(false), this, [this, promise, songID](const QFuture<void>&) {
        QFuture<void> played = playLoaded(songID);
        whenFinished(played, this, [promise](QFuture<void> finished) {
            if (auto error = failureOf(finished)) {
                promise->setException(error);
            }
            promise->finish();
        });
    });
    return promise->future();
}

QFuture<void> TopLevelSongsViewModel::playLoaded(const QString& songID) {
    const std::vector<LocalSong>& songs = mainViewModel_.topLevelSongs.get();
    const std::optional<SongListStart> start = songListStart(songs, songID);
    if (!start) {
        return finishedFuture(std::make_exception_ptr(PlaybackError(PlaybackError::Code::noSongs)));
    }
    return playSongList(mainViewModel_, player_, songs, *start, true, this);
}

} // namespace Marrowbell
