#pragma once

#include "MarrowbellCore/Store/LocalAlbum.h"
#include "MarrowbellCore/Store/LocalArtist.h"
#include "MarrowbellCore/Store/LocalPlaylist.h"
#include "MarrowbellCore/Store/LocalSong.h"

#include <Foundation/Progress.h>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

namespace MarrowbellCore {

class LocalDatabase;

/// Brings the store into line with the user's library on the music service. Make one engine per call
/// over the process's one store; it keeps no state of its own, and several engines may run at once
/// (the store orders their individual calls). Every operation blocks its calling thread and checks
/// `stopToken` at fixed checkpoints, where it throws Foundation::CancellationError. Failures of the
/// service, of decoding and of the store reach the caller unchanged; what a step stored before a later
/// step failed stays stored.
class SyncEngine {
public:
    explicit SyncEngine(std::shared_ptr<LocalDatabase> database);

    /// Playlists, albums, artists and then songs, each through a child of `progress` weighing 10, 15,
    /// 15 and 60 of its units; then the album and artist song lists are rebuilt and the four
    /// completion notifications posted.
    void syncAll(Foundation::Progress& progress, std::stop_token stopToken = {});
    /// One kind only; each posts its own notification when it succeeds.
    void syncPlaylists(std::stop_token stopToken = {});
    void syncAlbums(std::stop_token stopToken = {});
    void syncArtists(std::stop_token stopToken = {});
    /// Also rebuilds the album and artist song lists.
    void syncSongs(std::stop_token stopToken = {});

    /// Fetches and stores one container's songs, makes them its whole stored song list (a song that has
    /// left the container leaves the list; the song itself stays) and gives them in display order: a
    /// playlist's in the service's order, an album's by track number, an artist's by album title then
    /// track number. An artist's list is replaced only when every one of its albums arrived whole;
    /// otherwise the songs fetched join its stored list, which is given. A stop writes nothing after it.
    std::vector<LocalSong> syncRemoteTracks(const LocalPlaylist& playlist, std::stop_token stopToken = {});
    std::vector<LocalSong> syncRemoteTracks(const LocalAlbum& album, std::stop_token stopToken = {});
    std::vector<LocalSong> syncRemoteTracks(const LocalArtist& artist, std::stop_token stopToken = {});

    /// Adds or updates the newest items of each kind (the first page), deleting nothing. Never fails:
    /// each kind's failure is logged and the others go on; the notifications are posted in any case.
    void syncInserts(std::stop_token stopToken = {});
    /// Syncs the track list of every stored playlist that has no stored songs, one at a time; a failing
    /// playlist is logged and skipped.
    void syncEmptyPlaylistContents(std::stop_token stopToken = {});

    /// The steps of the full sync, each reporting its fetch to `progress`.
    void syncPlaylists(Foundation::Progress& progress, std::stop_token stopToken);
    void syncAlbums(Foundation::Progress& progress, std::stop_token stopToken);
    void syncArtists(Foundation::Progress& progress, std::stop_token stopToken);
    void syncSongs(Foundation::Progress& progress, std::stop_token stopToken);

    /// Posts playlistSyncCompleted, albumSyncCompleted, artistSyncCompleted and songSyncCompleted.
    static void postSyncCompletedNotifications();

    const std::shared_ptr<LocalDatabase>& database() const { return database_; }

private:
    std::shared_ptr<LocalDatabase> database_;
};

} // namespace MarrowbellCore
