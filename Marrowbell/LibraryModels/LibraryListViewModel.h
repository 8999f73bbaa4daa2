#pragma once

#include "Library/SortOrders.h"
#include "LibraryModels/SortedLibraryList.h"
#include "Observation/ObservationRegistrar.h"
#include "Observation/Observed.h"

#include <MarrowbellCore/Store/LocalAlbum.h>
#include <MarrowbellCore/Store/LocalArtist.h>
#include <MarrowbellCore/Store/LocalPlaylist.h>
#include <MarrowbellCore/Store/LocalSong.h>
#include <MarrowbellCore/Store/SortDescriptor.h>
#include <QFuture>
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace Marrowbell {

class AppEnvironment;
class DetailSongsViewModel;
class MainViewModel;

/// The list model of the user's playlists, albums or artists (`Record`): the containers of the store in the
/// user's sort order, refreshed from the service at most once a day; the central model's selection of the
/// kind, whose songs (read from the store in stored order and refreshed at most once a day per container)
/// go to the detail songs model; and playing a container.
///
/// GUI thread only; store reads, sorting and syncs run on the store's and the background threads, and only
/// the result of the newest load, and of the current selection, is installed. The asynchronous operations
/// return futures that finish on the GUI thread.
template <class Record> class LibraryListViewModel : public QObject {
    ObservationRegistrar registrar_;

public:
    using SortOrder = typename SortedLibraryList<Record>::SortOrder;
    using LocalSong = MarrowbellCore::LocalSong;

    LibraryListViewModel(MainViewModel& mainViewModel, DetailSongsViewModel& songsViewModel,
                         AppEnvironment& environment, QObject* parent = nullptr);
    ~LibraryListViewModel() override;

    /// The containers in display order, replaced whole by each load.
    Observed<MarrowbellCore::SortedRecords<Record>> items{registrar_};

    /// The songs of the selected container last handed to the detail songs model, in stored order.
    const std::vector<LocalSong>& selectedSongs() const { return selectedSongs_; }

    /// The sort choice kept in the settings. Observed reads; setting one stores it and loads the list anew
    /// without a service sync.
    SortOrder sortOrder() const;
    void setSortOrder(SortOrder order);
    MusicSortDirection sortDirection() const;
    void setSortDirection(MusicSortDirection direction);
    MarrowbellCore::SortDescriptor<Record> sortDescriptor() const;

    /// The item whose identifier the central model holds as the kind's selection; observed read.
    std::optional<Record> selectedContainer() const;

    /// Loads the containers into `items`; selects the first when none is selected or the selected one is no
    /// longer stored (none when none is stored, and the detail songs model then shows no songs), else
    /// re-shows the selected container's songs. Then, when `sync` and the kind's last
    /// sync is a day old, syncs the kind and loads what it stored. Never fails: failures are reported and
    /// logged.
    QFuture<void> load(bool sync);
    /// After a full sync: a list that has loaded reads the containers and the selected container's songs
    /// again, without a service sync; a list never loaded reads when it is first shown. Never fails.
    QFuture<void> reloadIfLoaded();

    /// The selection handler: drops the running selection task and starts one that reads the selected
    /// container's songs, shows them (also none), and refreshes them from the service when due.
    void loadSelectedSongs();
    /// Hands selectedSongs() to the detail songs model unless it already shows them for this container.
    void showSelectedSongs();

    /// The songs of the loaded container `id`, refreshed from the service when its track sync is due.
    /// Fails with PlaybackError (noSongs) for an unknown identifier, or with the store's or the service's
    /// error.
    QFuture<std::vector<LocalSong>> songs(const QString& id);
    /// Plays the container `id` from its first song, or shuffled; loads the list first when it is empty.
    /// Fails as songs(id) does, with PlaybackError (noSongs) for a container without songs (the player is
    /// then left alone), or with the player's error.
    QFuture<void> play(const QString& id, bool shuffle);
    /// The double-click: waits for the running selection task, selects the detail list's Play row and plays
    /// it through the detail songs model. Never fails.
    QFuture<void> playSelected();

private:
    struct SelectionTask;

    void installItems(typename SortedLibraryList<Record>::Records loaded);
    void runSelectionTask(std::shared_ptr<SelectionTask> task);
    void syncSelectedTracks(std::shared_ptr<SelectionTask> task, Record container);
    void finishSelectionTask(const std::shared_ptr<SelectionTask>& task, const std::exception_ptr& error);
    bool isCurrent(const SelectionTask& task) const;

    MainViewModel& mainViewModel_;
    DetailSongsViewModel& songsViewModel_;
    AppEnvironment& environment_;
    std::vector<LocalSong> selectedSongs_;
    /// Whose songs selectedSongs_ are.
    std::string selectedSongsContainerID_;
    std::shared_ptr<SelectionTask> selectionTask_;
    SortedLibraryList<Record> list_;
};

using PlaylistsViewModel = LibraryListViewModel<MarrowbellCore::LocalPlaylist>;
using AlbumsViewModel = LibraryListViewModel<MarrowbellCore::LocalAlbum>;
using ArtistsViewModel = LibraryListViewModel<MarrowbellCore::LocalArtist>;

extern template class LibraryListViewModel<MarrowbellCore::LocalPlaylist>;
extern template class LibraryListViewModel<MarrowbellCore::LocalAlbum>;
extern template class LibraryListViewModel<MarrowbellCore::LocalArtist>;

} // namespace Marrowbell
