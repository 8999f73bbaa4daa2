#include "LibraryFetch.h"
#include "MarrowbellCore/Logging/Loggers.h"
#include "MarrowbellCore/Store/LocalDatabase.h"
#include "MarrowbellCore/Sync/SyncEngine.h"
#include "Remote/RemoteAlbum.h"
#include "Remote/RemoteArtist.h"
#include "Remote/RemotePlaylist.h"
#include "Remote/RemoteSong.h"
#include "RemoteConversions.h"
#include "SongOrder.h"

#include <Foundation/CancellationError.h>
#include <MusicKit/MusicAuthorization.h>
#include <thread>

namespace MarrowbellCore {
namespace {

/// Runs one child of the insert-only sync; its failure is logged with `failureMessage` and goes no further.
template <class Work> void runChild(const char* failureMessage, Work work) {
    try {
        work();
    } catch (const std::exception& error) {
        Loggers::sync().error(failureMessage, {error});
    }
}

/// A kind's first page, added or updated without deleting anything. `fetchRecords` fetches the first page
/// with the progress it is given and converts it.
template <class FetchRecords>
void insertNewest(LocalDatabase& database, const std::stop_token& stopToken, FetchRecords fetchRecords) {
    Foundation::checkCancellation(stopToken);
    const auto progress = Foundation::Progress::make();
    const auto records = fetchRecords(*progress);
    Foundation::checkCancellation(stopToken);
    database.insert(records);
    Foundation::checkCancellation(stopToken);
}

/// The first page's songs that are not stored yet, numbered among themselves from `now` down.
void insertNewestSongs(LocalDatabase& database, const std::stop_token& stopToken) {
    Foundation::checkCancellation(stopToken);
    const auto now = SongOrder::syncTimeNow();
    const auto progress = Foundation::Progress::make();
    auto remote = LibraryFetch::fetchSongs(false, *progress, stopToken);
    const auto stored = database.allSongIdentifiers();
    std::erase_if(remote, [&](const RemoteSong& song) { return stored.contains(song.id); });
    const auto songs = SongOrder::incomingLibrarySongs(remote, now);
    Foundation::checkCancellation(stopToken);
    database.insert(songs);
    Foundation::checkCancellation(stopToken);
}

} // namespace

void SyncEngine::syncInserts(std::stop_token stopToken) {
    // The answer does not matter; cancellation reaches each child at its first checkpoint.
    MusicKit::MusicAuthorization::request();
    auto& database = *database_;
    {
        std::jthread playlists([&] {
            runChild("Failed to sync playlist inserts: %@", [&] {
                insertNewest(database, stopToken, [&](Foundation::Progress& progress) {
                    return incomingPlaylists(LibraryFetch::fetchPlaylists(false, progress, stopToken));
                });
            });
        });
        std::jthread albums([&] {
            runChild("Failed to sync album inserts: %@", [&] {
                insertNewest(database, stopToken, [&](Foundation::Progress& progress) {
                    return incomingAlbums(LibraryFetch::fetchAlbums(false, progress, stopToken));
                });
            });
        });
        std::jthread artists([&] {
            runChild("Failed to sync artist inserts: %@", [&] {
                insertNewest(database, stopToken, [&](Foundation::Progress& progress) {
                    return incomingArtists(LibraryFetch::fetchArtists(false, progress, stopToken));
                });
            });
        });
        std::jthread songs([&] {
            runChild("Failed to sync song inserts: %@", [&] { insertNewestSongs(database, stopToken); });
        });
    }
    postSyncCompletedNotifications();
}

void SyncEngine::syncEmptyPlaylistContents(std::stop_token stopToken) {
    Foundation::checkCancellation(stopToken);
    for (const auto& playlist : database_->allPlaylists()) {
        std::vector<LocalSong> songs;
        try {
            songs = database_->songs(playlist);
        } catch (const std::exception&) {
            // An unreadable list counts as empty, so its tracks are fetched again.
        }
        if (!songs.empty()) {
            continue;
        }
        try {
            syncRemoteTracks(playlist, stopToken);
        } catch (const Foundation::CancellationError&) {
            // A stop ends the whole pass: it is no playlist's failure, and every later one would fail alike.
            throw;
        } catch (const std::exception& error) {
            Loggers::sync().error("Failed to sync remote tracks for playlist %s: %@",
                                  {playlist.identifier, error});
        }
    }
    Foundation::checkCancellation(stopToken);
}

} // namespace MarrowbellCore
