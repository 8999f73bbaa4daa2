#include "LibraryModels/LibraryListViewModel.h"

#include "App/AppEnvironment.h"
#include "ErrorReporting/ErrorReporting.h"
#include "Library/SongSelection.h"
#include "LibraryModels/DetailSongsViewModel.h"
#include "LibraryModels/FutureSupport.h"
#include "LibraryModels/LibraryKind.h"
#include "LibraryModels/RefreshThrottle.h"
#include "Model/PlaybackError.h"
#include "Platform/AppLoggers.h"
#include "Platform/GuiDelivery.h"

#include <algorithm>

namespace Marrowbell {
namespace {

using MarrowbellCore::LocalSong;

QString textOf(const std::string& text) {
    return QString::fromStdString(text);
}

template <class Record> QString trackSyncKey(const Record& container) {
    return QString(LibraryKind<Record>::trackSyncKeyPrefix) + textOf(container.id());
}

bool sameIdentifiers(const std::vector<LocalSong>& lhs, const std::vector<LocalSong>& rhs) {
    return std::equal(
        lhs.begin(), lhs.end(), rhs.begin(), rhs.end(),
        [](const LocalSong& left, const LocalSong& right) { return left.identifier == right.identifier; });
}

template <class Record>
const Record* findContainer(const MarrowbellCore::SortedRecords<Record>& containers,
                            const std::string& identifier) {
    const auto found = std::find_if(containers.begin(), containers.end(),
                                    [&](const Record& container) { return container.id() == identifier; });
    return found == containers.end() ? nullptr : &*found;
}

template <class Record>
std::vector<LocalSong> syncTracks(SharedStore& store, const Record& container, std::stop_token stopToken) {
    MarrowbellCore::SyncEngine engine(store.database());
    return engine.syncRemoteTracks(container, stopToken);
}

} // namespace

/// One run of the selection handler; a later selection stops it and takes its place.
template <class Record> struct LibraryListViewModel<Record>::SelectionTask {
    std::stop_source stop;
    std::shared_ptr<QPromise<void>> done = startedPromise();
};

template <class Record>
LibraryListViewModel<Record>::LibraryListViewModel(MainViewModel& mainViewModel,
                                                   DetailSongsViewModel& songsViewModel,
                                                   AppEnvironment& environment, QObject* parent)
    : QObject(parent)
    , mainViewModel_(mainViewModel)
    , songsViewModel_(songsViewModel)
    , environment_(environment)
    , list_(registrar_, environment, this, [this](auto loaded) { installItems(std::move(loaded)); }) {}

template <class Record> LibraryListViewModel<Record>::~LibraryListViewModel() {
    if (selectionTask_) {
        selectionTask_->stop.request_stop();
    }
}

template <class Record>
typename LibraryListViewModel<Record>::SortOrder LibraryListViewModel<Record>::sortOrder() const {
    return list_.sortOrder();
}

template <class Record> void LibraryListViewModel<Record>::setSortOrder(SortOrder order) {
    list_.setSortOrder(order);
}

template <class Record> MusicSortDirection LibraryListViewModel<Record>::sortDirection() const {
    return list_.sortDirection();
}

template <class Record> void LibraryListViewModel<Record>::setSortDirection(MusicSortDirection direction) {
    list_.setSortDirection(direction);
}

template <class Record>
MarrowbellCore::SortDescriptor<Record> LibraryListViewModel<Record>::sortDescriptor() const {
    return list_.sortDescriptor();
}

template <class Record> std::optional<Record> LibraryListViewModel<Record>::selectedContainer() const {
    const std::optional<QString>& selected = (mainViewModel_.*LibraryKind<Record>::selection).get();
    if (!selected) {
        return std::nullopt;
    }
    const Record* found = findContainer(items.get(), selected->toStdString());
    return found ? std::optional(*found) : std::nullopt;
}

template <class Record> QFuture<void> LibraryListViewModel<Record>::load(bool sync) {
    return list_.load(sync);
}

template <class Record> QFuture<void> LibraryListViewModel<Record>::reloadIfLoaded() {
    if (!list_.hasLoaded()) {
        return finishedFuture();
    }
    // The sync may have changed the selected container's stored songs as well: they are read again.
    selectedSongsContainerID_.clear();
    return load(false);
}

template <class Record>
void LibraryListViewModel<Record>::installItems(typename SortedLibraryList<Record>::Records loaded) {
    items.setShared(std::move(loaded));
    auto& selection = mainViewModel_.*LibraryKind<Record>::selection;
    const auto& containers = items.get();
    const std::optional<QString>& selected = selection.get();
    if (selected && findContainer(containers, selected->toStdString())) {
        // A snap-back selects its container while the kind's list may be gone: nothing has read its songs.
        if (selected->toStdString() != selectedSongsContainerID_) {
            loadSelectedSongs();
        } else {
            showSelectedSongs();
        }
        return;
    }
    if (selected && containers.empty()) {
        // The last container has gone: nothing is selected, so nothing else replaces its songs.
        selectedSongs_.clear();
        selectedSongsContainerID_.clear();
        songsViewModel_.showSongs(LibraryKind<Record>::kind, {}, QString(), QString());
    }
    // A container the library no longer holds cannot stay selected: its songs cannot be fetched.
    selection.set(containers.empty() ? std::nullopt : std::optional(textOf(containers.front().id())));
}

template <class Record> void LibraryListViewModel<Record>::loadSelectedSongs() {
    if (selectionTask_) {
        selectionTask_->stop.request_stop();
    }
    selectionTask_ = std::make_shared<SelectionTask>();
    // Like a task started now, the task runs on a later turn of the event loop.
    QMetaObject::invokeMethod(
        this, [this, task = selectionTask_] { runSelectionTask(task); }, Qt::QueuedConnection);
}

template <class Record> bool LibraryListViewModel<Record>::isCurrent(const SelectionTask& task) const {
    return selectionTask_.get() == &task && !task.stop.stop_requested();
}

template <class Record>
void LibraryListViewModel<Record>::runSelectionTask(std::shared_ptr<SelectionTask> task) {
    const std::optional<Record> container = selectedContainer();
    if (!isCurrent(*task) || !container) {
        finishSelectionTask(task, nullptr);
        return;
    }
    auto read = environment_.store().run([container = *container](MarrowbellCore::LocalDatabase& database) {
        return database.songs(container);
    });
    whenFinished(read, this, [this, task, container = *container](QFuture<std::vector<LocalSong>> finished) {
        if (!isCurrent(*task)) {
            finishSelectionTask(task, nullptr);
            return;
        }
        if (auto error = failureOf(finished)) {
            finishSelectionTask(task, error);
            return;
        }
        // Also when there are none: the songs shown must be this container's, never the previous one's.
        selectedSongs_ = finished.takeResult();
        selectedSongsContainerID_ = container.id();
        showSelectedSongs();
        if (!RefreshThrottle::isDue(environment_.defaults(), trackSyncKey(container))) {
            AppLoggers::sync().notice(LibraryKind<Record>::trackSkipMessage);
            finishSelectionTask(task, nullptr);
            return;
        }
        syncSelectedTracks(task, container);
    });
}

template <class Record>
void LibraryListViewModel<Record>::syncSelectedTracks(std::shared_ptr<SelectionTask> task, Record container) {
    SharedStore& store = environment_.store();
    auto sync = environment_.background().run(
        [&store, container](std::stop_token stopToken) { return syncTracks(store, container, stopToken); },
        task->stop.get_token());
    whenFinished(sync, this, [this, task, container](QFuture<std::vector<LocalSong>> finished) {
        if (auto error = failureOf(finished)) {
            finishSelectionTask(task, isCurrent(*task) ? error : nullptr);
            return;
        }
        // The tracks are stored, so the refresh counts even when the selection has moved on.
        RefreshThrottle::markRefreshed(environment_.defaults(), trackSyncKey(container));
        if (isCurrent(*task)) {
            selectedSongs_ = finished.takeResult();
            selectedSongsContainerID_ = container.id();
            showSelectedSongs();
        }
        finishSelectionTask(task, nullptr);
    });
}

template <class Record>
void LibraryListViewModel<Record>::finishSelectionTask(const std::shared_ptr<SelectionTask>& task,
                                                       const std::exception_ptr& error) {
    if (error && !isCancellation(error)) {
        ErrorReporting::report(error, LibraryKind<Record>::selectionFailureName);
        logFailure(AppLoggers::sync(), LibraryKind<Record>::selectionFailureMessage, error);
    }
    task->done->finish();
}

template <class Record> void LibraryListViewModel<Record>::showSelectedSongs() {
    const std::optional<Record> container = selectedContainer();
    // Songs read for another container must not be shown under this one's title.
    if (!container || container->id() != selectedSongsContainerID_) {
        return;
    }
    const QString id = textOf(container->id());
    const QString title = LibraryKind<Record>::title(*container);
    const std::vector<NavigationItem>& path = mainViewModel_.navigationPath.get();
    if (path.size() == 3 && path[2] == NavigationItem::songCollection(id, title) &&
        sameIdentifiers(mainViewModel_.detailSongs.get(), selectedSongs_) &&
        !mainViewModel_.detailSongIDToRestore) {
        return;
    }
    songsViewModel_.showSongs(LibraryKind<Record>::kind, selectedSongs_, id, title);
}

template <class Record>
QFuture<std::vector<LocalSong>> LibraryListViewModel<Record>::songs(const QString& id) {
    const Record* found = findContainer(items.get(), id.toStdString());
    if (!found) {
        return finishedFuture<std::vector<LocalSong>>(
            std::make_exception_ptr(PlaybackError(PlaybackError::Code::noSongs)));
    }
    const Record container = *found;
    auto read = environment_.store().run(
        [container](MarrowbellCore::LocalDatabase& database) { return database.songs(container); });
    auto promise = startedPromise<std::vector<LocalSong>>();
    whenFinished(read, this, [this, promise, container](QFuture<std::vector<LocalSong>> stored) {
        if (auto error = failureOf(stored)) {
            promise->setException(error);
            promise->finish();
            return;
        }
        if (!RefreshThrottle::isDue(environment_.defaults(), trackSyncKey(container))) {
            AppLoggers::sync().notice(LibraryKind<Record>::trackSkipMessage);
            promise->addResult(stored.takeResult());
            promise->finish();
            return;
        }
        SharedStore& store = environment_.store();
        auto sync = environment_.background().run([&store, container](std::stop_token stopToken) {
            return syncTracks(store, container, stopToken);
        });
        whenFinished(sync, this, [this, promise, container](QFuture<std::vector<LocalSong>> synced) {
            if (auto error = failureOf(synced)) {
                promise->setException(error);
            } else {
                RefreshThrottle::markRefreshed(environment_.defaults(), trackSyncKey(container));
                promise->addResult(synced.takeResult());
            }
            promise->finish();
        });
    });
    return promise->future();
}

template <class Record> QFuture<void> LibraryListViewModel<Record>::play(const QString& id, bool shuffle) {
    auto promise = startedPromise();
    auto fail = [promise](const std::exception_ptr& error) {
        promise->setException(error);
        promise->finish();
    };
    auto playContainer = [this, id, shuffle, promise, fail] {
        whenFinished(songs(id), this, [this, shuffle, promise, fail](QFuture<std::vector<LocalSong>> found) {
            if (auto error = failureOf(found)) {
                fail(error);
                return;
            }
            whenFinished(songsViewModel_.play(found.takeResult(), shuffle), this,
                         [promise, fail](QFuture<void> played) {
                             if (auto error = failureOf(played)) {
                                 fail(error);
                                 return;
                             }
                             promise->finish();
                         });
        });
    };
    if (items.get().empty()) {
        whenFinished(load(false), this, [playContainer](const QFuture<void>&) { playContainer(); });
    } else {
        playContainer();
    }
    return promise->future();
}

template <class Record> QFuture<void> LibraryListViewModel<Record>::playSelected() {
    auto promise = startedPromise();
    auto playFromTop = [this, promise] {
        mainViewModel_.selectedDetailSongID.set(SongSelection::play().id());
        const std::optional<QString> row = mainViewModel_.selectedDetailSongID.get();
        if (!row) {
            promise->finish();
            return;
        }
        whenFinished(songsViewModel_.play(*row), this,
                     [promise](const QFuture<void>&) { promise->finish(); });
    };
    if (selectionTask_ && !selectionTask_->done->future().isFinished()) {
        whenFinished(selectionTask_->done->future(), this,
                     [playFromTop](const QFuture<void>&) { playFromTop(); });
    } else {
        playFromTop();
    }
    return promise->future();
}

template class LibraryListViewModel<MarrowbellCore::LocalPlaylist>;
template class LibraryListViewModel<MarrowbellCore::LocalAlbum>;
template class LibraryListViewModel<MarrowbellCore::LocalArtist>;

} // namespace Marrowbell
