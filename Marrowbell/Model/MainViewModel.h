#pragma once

#include "Model/SavedSnapbackState.h"
#include "Navigation/ContainerKind.h"
#include "Navigation/NavigationItem.h"
#include "Observation/ObservationRegistrar.h"
#include "Observation/Observed.h"

#include <Foundation/Progress.h>
#include <MarrowbellCore/ItemViews/PlaybackItem.h>
#include <MarrowbellCore/Store/LocalAlbum.h>
#include <MarrowbellCore/Store/LocalArtist.h>
#include <MarrowbellCore/Store/LocalPlaylist.h>
#include <MarrowbellCore/Store/LocalSong.h>
#include <MarrowbellCore/Store/SortedRecords.h>
#include <MusicKit/Artwork.h>
#include <MusicKit/CatalogItems.h>
#include <MusicKit/MusicItemID.h>
#include <MusicKit/MusicPlayerQueueEntry.h>
#include <MusicKit/MusicPlayerState.h>
#include <QDateTime>
#include <QFuture>
#include <QMetaObject>
#include <QObject>
#include <QPromise>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <exception>
#include <memory>
#include <optional>
#include <stop_token>
#include <vector>

namespace MusicKit {
class ApplicationMusicPlayer;
}
namespace DesktopIntegration {
class UserNotificationCenter;
}

namespace Marrowbell {

class AppEnvironment;
class ObservationTrackingToken;
struct MainViewModelPlaybackSupport;

/// The application's one central model: what the user browses (selected kind, per-list selections, the
/// pod's path and focused pane), a mirror of the player (what plays, its state, its queue) and transient
/// interface state (toasts, the play-error alert, the full sync's progress, the snap-back record).
///
/// Every public Observed field notifies its observers (ObservationTracking::observe) before each write, also
/// of an equal value; reads inside a tracking scope are recorded. GUI thread only. The asynchronous
/// operations return futures that finish on the GUI thread and never hold an exception: failures are
/// logged and reported inside.
class MainViewModel final : public QObject {
    Q_OBJECT

    ObservationRegistrar registrar_;

public:
    using LocalSong = MarrowbellCore::LocalSong;
    using PlaybackItem = MarrowbellCore::PlaybackItem;
    using QueueEntry = MusicKit::MusicPlayerQueueEntry;

    /// Uses the environment's settings, store, workers and notifications, and `player`; starts nothing.
    explicit MainViewModel(AppEnvironment& environment, MusicKit::ApplicationMusicPlayer& player,
                           QObject* parent = nullptr);
    ~MainViewModel() override;

    // Navigation.
    /// "playlists", "albums", "artists", "songs", "madeForYou" or "stations"; nothing before start().
    Observed<std::optional<QString>> selectedContainerKindID{registrar_};
    Observed<std::optional<QString>> selectedPlaylistID{registrar_};
    Observed<std::optional<QString>> selectedAlbumID{registrar_};
    Observed<std::optional<QString>> selectedArtistID{registrar_};
    Observed<std::optional<MusicKit::MusicItemID>> selectedMadeForYouID{registrar_};
    Observed<std::optional<MusicKit::MusicItemID>> selectedStationID{registrar_};
    Observed<std::optional<QString>> selectedTopLevelSongID{registrar_};
    Observed<std::optional<QString>> selectedDetailSongID{registrar_};
    /// The songs the top-level Songs list and the detail songs list show, in shown order.
    Observed<MarrowbellCore::SortedRecords<LocalSong>> topLevelSongs{registrar_};
    Observed<std::vector<LocalSong>> detailSongs{registrar_};

    // The player's mirror.
    Observed<bool> isPlaying{registrar_, false};
    Observed<bool> isStopped{registrar_, true};
    Observed<std::optional<QString>> playingTitle{registrar_};
    Observed<std::optional<QString>> playingSubtitle{registrar_};
    Observed<std::optional<MusicKit::Artwork>> playingArtwork{registrar_};
    /// The artwork-cache key of the item whose artwork the views show; set once its artwork has loaded.
    Observed<std::optional<QString>> playingItemIDForArtwork{registrar_};
    /// The artwork of the item that playingItemIDForArtwork names, written just before it: views take the
    /// key and the address from this pair, so that a new song's address never goes under the last song's key.
    Observed<std::optional<MusicKit::Artwork>> artworkForPlayingItemID{registrar_};
    /// The playing song is not in the user's library, so "Add to Library" is offered.
    Observed<bool> canAddToLibrary{registrar_, false};
    Observed<std::optional<QUrl>> shareLink{registrar_};
    Observed<double> playingDuration{registrar_, 0.0};
    Observed<double> currentPlayingTime{registrar_, 0.0};
    /// The song a list has just asked the player to start, shown before the player reports it. Set both.
    Observed<std::optional<LocalSong>> eagerEntry{registrar_};
    Observed<std::optional<QDateTime>> eagerEntryDate{registrar_};

    // Navigation (continued).
    /// The pod's panes from left to right: root, the selected kind's list, then an opened song collection.
    Observed<std::vector<NavigationItem>> navigationPath{registrar_};
    Observed<std::optional<SavedSnapbackState>> lastSavedSnapbackState{registrar_};
    /// Index into navigationPath of the focused pane.
    Observed<int> activePane{registrar_, 0};
    /// The column mode, written by the main view from its width.
    Observed<bool> isSingleColumn{registrar_, false};
    Observed<bool> isDoubleColumn{registrar_, false};

    // Interface state.
    /// Raises the "The selected item could not be played." alert; the alert clears it.
    Observed<bool> showPlayError{registrar_, false};
    Observed<bool> showAddToast{registrar_, false};
    Observed<bool> showSyncingToast{registrar_, false};
    /// The last full sync's progress (100 units); kept after the sync ends. Updated from a worker thread:
    /// read it there or through its observers, which are called on that thread.
    Observed<std::shared_ptr<Foundation::Progress>> syncProgress{registrar_};
    /// A full sync is under way.
    Observed<bool> isFullSyncRunning{registrar_, false};
    /// What made the last full sync, or the syncs of a start from the stored library, fail
    /// (ServiceFailureText), for the window to say so; nothing once a full sync starts or after one that
    /// succeeded or was cancelled.
    Observed<std::optional<QString>> fullSyncFailure{registrar_};

    /// The player's queue from its current entry to the end, for the up-next list.
    Observed<std::vector<QueueEntry>> queue{registrar_};

    // Computed properties; each read is an observed read.
    /// The kind named by selectedContainerKindID.
    std::optional<ContainerKind> selectedContainerKind() const;
    /// The player's repeat mode, none when it reports none. Writing notifies observers of repeatMode.
    MusicKit::MusicPlayerRepeatMode repeatMode() const;
    void setRepeatMode(MusicKit::MusicPlayerRepeatMode mode);
    /// All becomes one, one becomes none, anything else becomes all.
    void cycleRepeatMode();
    /// The player shuffles songs. Writing changes the player only when the value differs.
    bool isShuffled() const;
    void setShuffled(bool shuffled);
    /// The title above the pod: the focused pane's (one column), the second pane's (two columns), else
    /// "Marrowbell".
    QString navigationTitle() const;
    /// The time bar's write: stores `seconds` in currentPlayingTime, then seeks the player there.
    void seekTo(double seconds);

    // Start and the full sync.
    /// Once per model (later calls give the first call's future and do nothing): runs the full sync unless
    /// it has run before, starts the empty-playlist sync, selects the playlists kind with the path root,
    /// playlists, follows the player's state and queue (each debounced by 33 ms) and refreshes once.
    QFuture<void> start();
    /// Mirrors the whole library into the store behind the syncing toast; stores "performedFullSync" after a
    /// success, fills fullSyncFailure after a failure. Requested while a full sync runs, it runs once that
    /// one has ended; any number of such requests make one sync, whose future they share.
    QFuture<void> performFullSync();
    /// The service could not be used at a start from the stored library, so the start's syncs fail: said as
    /// a failed full sync is, unless a full sync is under way, which will say how it went.
    void reportStartSyncFailure(const std::exception_ptr& failure);

    // Selection, path and panes.
    /// Focuses the pane to the left, animated for 0.3 s; nothing at the first pane.
    void navigateBack();
    /// The root list's selection: selects the kind; a different kind becomes the path's second item and
    /// drops the previous kind's opened collection.
    void selectContainerKind(const std::optional<QString>& kindID);
    /// A list has loaded the songs of its selected playlist, album or artist: they become detailSongs and
    /// the collection the path's third item. Ignored when `kind` is no longer the selected kind.
    void showSongCollection(ContainerKind kind, const QString& id, const QString& title,
                            std::vector<LocalSong> songs);

    // Snap-back.
    /// Records the current path, pane and container selections as the place to return to.
    void saveSnapbackState();
    /// Record the place of a search result that was just played.
    void saveSnapbackState(const MarrowbellCore::LocalPlaylist& playlist);
    void saveSnapbackState(const MarrowbellCore::LocalAlbum& album);
    void saveSnapbackState(const MarrowbellCore::LocalArtist& artist);
    void saveSongsSnapbackState();
    void saveMadeForYouSnapbackState(const MusicKit::MusicPersonalRecommendationItem& item);
    void saveStationSnapbackState(const MusicKit::MusicPersonalRecommendationItem& station);
    /// Whether a row is the recorded place while music plays.
    bool isSnapbackTarget(const MarrowbellCore::LocalPlaylist& playlist) const;
    bool isSnapbackTarget(const MarrowbellCore::LocalAlbum& album) const;
    bool isSnapbackTarget(const MarrowbellCore::LocalArtist& artist) const;
    bool isMadeForYouSnapbackTarget(const MusicKit::MusicPersonalRecommendationItem& item) const;
    bool isStationSnapbackTarget(const MusicKit::MusicPersonalRecommendationItem& station) const;
    /// Returns to the recorded place (nothing without one) and selects the playing song in the song lists.
    void snapBack();
    /// Sets the kind and list selections along the current path from `state`. `shownPath` is the path
    /// before the snap-back: detailSongs are still the songs of its collection.
    void restoreSelections(const SavedSnapbackState& state, const std::vector<NavigationItem>& shownPath);
    /// A song the detail songs list selects once its songs have loaded, left by a snap-back. Not observed.
    std::optional<QString> detailSongIDToRestore;

    // Playing-state refresh.
    /// Chooses the playing item (the eager entry while fresh, else the player's current entry) and copies
    /// its fields, the up-next queue and the library state; starts its artwork load.
    void refreshPlayerState();
    /// Follows the player's play state and runs the 1 s position timer while playing.
    void updatePlaybackStatus();
    /// The eager entry was set less than 5 s ago.
    bool hasFreshEagerEntry() const;
    void clearEagerEntryIfCaughtUp();
    /// A play that set the eager entry has failed: the entry is dropped at once, so that the fields show the
    /// player's own state (stopped) rather than a song playing until the entry would go stale.
    void playDidFail();
    /// The position timer's tick.
    void updatePlaybackTime();

    // Transport.
    void pause();
    QFuture<void> stop();
    QFuture<void> resume();
    QFuture<void> skipToPreviousEntry();
    QFuture<void> skipToNextEntry();

    // Library state of the playing song.
    QFuture<void> addPlayingSongToLibrary();
    /// Sets canAddToLibrary and shareLink for `item`, as long as it is still the playing item.
    QFuture<void> checkLibraryState(const PlaybackItem& item, const QString& title);

    // Player artwork and song-start notifications.
    /// Loads the artwork of `item` into the cache, then announces a new song and sets
    /// playingItemIDForArtwork, unless `stopToken` asked to stop meanwhile.
    QFuture<void> loadPlayerArtwork(const std::optional<PlaybackItem>& item, std::stop_token stopToken);
    /// A new song with a song identifier is announced, when the setting is on, once the player plays it.
    void notifySongChangeIfNeeded(const std::optional<PlaybackItem>& item);
    QFuture<void> postSongNotification(const PlaybackItem& item, const QString& songID);

    /// Where the song-start notifications go: by default the session bus's notification centre. Tests give
    /// their own.
    void useNotificationCenter(DesktopIntegration::UserNotificationCenter& center);

    // Empty-playlist sync.
    QFuture<void> syncEmptyPlaylistContents();

Q_SIGNALS:
    /// A full sync has stored the whole library: what the lists show from the store may have changed.
    void librarySynced();
    /// A snap-back is about to set the list selections: lists forget their saved scroll positions and
    /// scroll every selection made until snapBackSelectionsRestored() to its row.
    void snapBackSelectionsWillRestore();
    /// The snap-back's selections are set; deferred observation deliveries may still follow.
    void snapBackSelectionsRestored();

private:
    void followPlayer();
    /// Posts the song-start notification of the new song once the player plays it.
    void announceSongIfPlaying();
    /// The player could not start the next entry of its own accord: told as a failed play.
    void reportStartFailure(const std::exception_ptr& failure);
    /// The eager entry counts as playing while fresh: the play state is read again whenever it changes and
    /// once it goes stale.
    void followEagerEntry();
    void eagerEntryDidChange();
    void recordFullSyncOutcome(QFuture<void>& finished);
    void startQueuedFullSync();
    SavedSnapbackState snapbackStateAt(ContainerKind kind, std::optional<NavigationItem> collection) const;
    /// `Songs` is either kind of song list the model holds.
    template <class Songs> std::optional<QString> songMatchingCurrentEntry(const Songs& songs) const;

    AppEnvironment& environment_;
    MusicKit::ApplicationMusicPlayer& player_;

    ObservationKey repeatModeKey_;
    ObservationKey isShuffledKey_;

    std::optional<QFuture<void>> startFuture_;
    /// The full sync requested while another runs, started when that one ends.
    std::shared_ptr<QPromise<void>> queuedFullSync_;

    /// The 1 s position timer; exists while isPlaying.
    std::unique_ptr<QTimer> playbackTimer;
    /// The player's state and queue subscriptions and their 33 ms debounce timers.
    std::vector<QMetaObject::Connection> cancellables;
    QTimer stateDebounce_;
    QTimer queueDebounce_;
    std::shared_ptr<ObservationTrackingToken> eagerEntryObservation_;
    /// Fires when the eager entry goes stale.
    QTimer eagerEntryExpiry_;
    /// Stops the running player-artwork load.
    std::optional<std::stop_source> pendingPlayerThumbnailTask;
    /// The playback side's own bookkeeping (library checks in flight, the notification attachment).
    std::unique_ptr<MainViewModelPlaybackSupport> playbackSupport_;
};

} // namespace Marrowbell
