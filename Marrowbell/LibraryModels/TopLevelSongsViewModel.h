#pragma once

#include "Library/SongSelection.h"
#include "Library/SortOrders.h"
#include "LibraryModels/SortedLibraryList.h"
#include "Observation/ObservationRegistrar.h"

#include <MarrowbellCore/Store/LocalSong.h>
#include <MarrowbellCore/Store/SortDescriptor.h>
#include <QFuture>
#include <QObject>
#include <QString>
#include <vector>

namespace MusicKit {
class ApplicationMusicPlayer;
}

namespace Marrowbell {

class AppEnvironment;
class MainViewModel;

/// The "Songs" kind: every library song of the store in the user's sort order, refreshed from the service at
/// most once a day, and played from a chosen row. The songs and the selection live on the central model
/// (topLevelSongs, selectedTopLevelSongID). GUI thread only; reading and sorting run on the store's thread.
class TopLevelSongsViewModel final : public QObject {
    Q_OBJECT

    ObservationRegistrar registrar_;

public:
    TopLevelSongsViewModel(MainViewModel& mainViewModel, AppEnvironment& environment,
                           MusicKit::ApplicationMusicPlayer& player, QObject* parent = nullptr);

    /// Kept under "sortSongsBy" (a stored value outside 0...6 reads as title; none as album) and
    /// "sortSongsDirection" (1 is descending). Observed reads; setting one stores it and loads the list
    /// anew without a service sync.
    SongSortOrder sortOrder() const;
    void setSortOrder(SongSortOrder order);
    MusicSortDirection sortDirection() const;
    void setSortDirection(MusicSortDirection direction);
    MarrowbellCore::SortDescriptor<MarrowbellCore::LocalSong> sortDescriptor() const;

    /// Play, Shuffle and the songs of the central model's topLevelSongs; an observed read.
    std::vector<SongSelection> rows() const;

    /// Loads the songs in the current order into topLevelSongs (selecting the Play row when nothing is
    /// selected), then, when `sync` and the last song sync is a day old, syncs the library's songs and loads
    /// what it stored. Only the newest load's songs are installed. Never fails: failures are reported and
    /// logged; the shown songs stay.
    QFuture<void> load(bool sync);
    /// After a full sync: once the list has loaded, reads the songs again without a service sync.
    QFuture<void> reloadIfLoaded();

    /// Plays topLevelSongs from the row `songID` ("play", "shuffle" or a song identifier), loading the list
    /// first when it is empty, and records the snap-back place. Fails with the player's error, or with
    /// PlaybackError (noSongs) when no song has that identifier; the player is then left alone.
    QFuture<void> play(const QString& songID);

private:
    void install(SortedLibraryList<MarrowbellCore::LocalSong>::Records songs);
    QFuture<void> playLoaded(const QString& songID);

    MainViewModel& mainViewModel_;
    MusicKit::ApplicationMusicPlayer& player_;
    SortedLibraryList<MarrowbellCore::LocalSong> list_;
};

} // namespace Marrowbell
