#include "LibraryFetch.h"
#include "MarrowbellCore/Logging/Loggers.h"
#include "MarrowbellCore/Store/LocalDatabase.h"
#include "MarrowbellCore/Sync/SyncEngine.h"
#include "Remote/RemoteAlbum.h"
#include "Remote/RemoteSong.h"
#include "RemoteConversions.h"
#include "Threading/ParallelTransform.h"
#include "TrackOrdering.h"

#include <Foundation/CancellationError.h>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

namespace MarrowbellCore {
namespace {

/// Track lists store their songs with no order value, so a song already stored keeps its own.
std::vector<IncomingSong> incomingTracks(const std::vector<RemoteSong>& remote, bool isPassive) {
    return parallelTransform(remote, [isPassive](const RemoteSong& song, std::size_t) {
        return incomingSong(song, std::nullopt, isPassive);
    });
}

/// The albums' song lists, collected in the order the albums finish. An album that fails is logged and
/// adds nothing. A few workers share the albums so that their requests overlap.
std::vector<LocalSong> syncAlbumsConcurrently(SyncEngine& engine, const std::vector<LocalAlbum>& albums,
                                              const std::stop_token& stopToken) {
    std::vector<LocalSong> combined;
    std::mutex combinedMutex;
    std::atomic<std::size_t> next = 0;
    const auto work = [&] {
        for (auto index = next++; index < albums.size(); index = next++) {
            std::vector<LocalSong> songs;
            try {
                songs = engine.syncRemoteTracks(albums[index], stopToken);
            } catch (const std::exception& error) {
                Loggers::sync().error("Failed to sync remote tracks: %@", {error});
            }
            std::lock_guard lock(combinedMutex);
            combined.insert(combined.end(), std::make_move_iterator(songs.begin()),
                            std::make_move_iterator(songs.end()));
        }
    };
    constexpr std::size_t maximumWorkers = 8;
    std::vector<std::jthread> workers;
    for (std::size_t i = 0; i < std::min(albums.size(), maximumWorkers); ++i) {
        workers.emplace_back(work);
    }
    workers.clear();
    return combined;
}

} // namespace

std::vector<LocalSong> SyncEngine::syncRemoteTracks(const LocalPlaylist& playlist,
                                                    std::stop_token stopToken) {
    const auto remote = LibraryFetch::fetchTracks(LibraryFetch::PlaylistID{playlist.identifier}, stopToken);
    const auto stored = database_->insert(incomingTracks(remote, true));
    database_->replaceSongs(stored, playlist);
    Foundation::checkCancellation(stopToken);
    return stored;
}

std::vector<LocalSong> SyncEngine::syncRemoteTracks(const LocalAlbum& album, std::stop_token stopToken) {
    const auto remote = LibraryFetch::fetchTracks(LibraryFetch::AlbumID{album.identifier}, stopToken);
    auto stored = database_->insert(incomingTracks(remote, false));
    TrackOrdering::sortInTrackOrder(stored, [](const LocalSong& song) { return song.trackNumber; });
    database_->replaceSongs(stored, album);
    Foundation::checkCancellation(stopToken);
    return stored;
}

std::vector<LocalSong> SyncEngine::syncRemoteTracks(const LocalArtist& artist, std::stop_token stopToken) {
    const auto remote = LibraryFetch::fetchAlbums(LibraryFetch::ArtistID{artist.identifier}, stopToken);
    const auto albums = database_->insert(incomingAlbums(remote));
    auto songs = syncAlbumsConcurrently(*this, albums, stopToken);
    TrackOrdering::sortInArtistOrder(
        songs, [](const LocalSong& song) -> const std::optional<std::string>& { return song.albumTitle; },
        [](const LocalSong& song) { return song.trackNumber; });
    database_->replaceSongs(songs, artist);
    Foundation::checkCancellation(stopToken);
    return songs;
}

} // namespace MarrowbellCore
