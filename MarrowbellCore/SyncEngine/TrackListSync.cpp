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
#include <optional>
#include <thread>
#include <unordered_set>

namespace MarrowbellCore {
namespace {

/// Track lists store their songs with no order value, so a song already stored keeps its own.
std::vector<IncomingSong> incomingTracks(const std::vector<RemoteSong>& remote, bool isPassive) {
    return parallelTransform(remote, [isPassive](const RemoteSong& song, std::size_t) {
        return incomingSong(song, std::nullopt, isPassive);
    });
}

/// An artist's songs as its albums gave them, in the order the albums finished, and whether every album
/// gave its whole list.
struct AlbumsSongs {
    std::vector<LocalSong> songs;
    bool complete = true;
};

/// An album that fails is logged and adds nothing; one that was stopped adds nothing either, without a log
/// line, as the stop is no album's failure. A few workers share the albums so that their requests overlap.
AlbumsSongs syncAlbumsConcurrently(SyncEngine& engine, const std::vector<LocalAlbum>& albums,
                                   const std::stop_token& stopToken) {
    AlbumsSongs combined;
    std::mutex combinedMutex;
    std::atomic<std::size_t> next = 0;
    const auto work = [&] {
        for (auto index = next++; index < albums.size(); index = next++) {
            std::optional<std::vector<LocalSong>> songs;
            try {
                songs = engine.syncRemoteTracks(albums[index], stopToken);
            } catch (const Foundation::CancellationError&) {
                // The artist's own check ends its sync.
            } catch (const std::exception& error) {
                Loggers::sync().error("Failed to sync remote tracks: %@", {error});
            }
            std::lock_guard lock(combinedMutex);
            if (!songs) {
                combined.complete = false;
                continue;
            }
            combined.songs.insert(combined.songs.end(), std::make_move_iterator(songs->begin()),
                                  std::make_move_iterator(songs->end()));
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

/// Adds the stored songs that `songs` lacks, so that the songs of an album that did not arrive stay.
void addMissingStoredSongs(std::vector<LocalSong>& songs, std::vector<LocalSong> stored) {
    std::unordered_set<std::int64_t> present;
    for (const auto& song : songs) {
        present.insert(song.pk);
    }
    for (auto& song : stored) {
        if (!present.contains(song.pk)) {
            songs.push_back(std::move(song));
        }
    }
}

} // namespace

// A stop is checked before each write, so that a sync that was stopped changes nothing after it; the check
// after the last write turns a stop during it into the stop's error.

std::vector<LocalSong> SyncEngine::syncRemoteTracks(const LocalPlaylist& playlist,
                                                    std::stop_token stopToken) {
    const auto remote = LibraryFetch::fetchTracks(LibraryFetch::PlaylistID{playlist.identifier}, stopToken);
    Foundation::checkCancellation(stopToken);
    const auto stored = database_->insert(incomingTracks(remote, true));
    Foundation::checkCancellation(stopToken);
    database_->replaceSongs(stored, playlist);
    Foundation::checkCancellation(stopToken);
    return stored;
}

std::vector<LocalSong> SyncEngine::syncRemoteTracks(const LocalAlbum& album, std::stop_token stopToken) {
    const auto remote = LibraryFetch::fetchTracks(LibraryFetch::AlbumID{album.identifier}, stopToken);
    Foundation::checkCancellation(stopToken);
    auto stored = database_->insert(incomingTracks(remote, false));
    TrackOrdering::sortInTrackOrder(stored, [](const LocalSong& song) { return song.trackNumber; });
    Foundation::checkCancellation(stopToken);
    database_->replaceSongs(stored, album);
    Foundation::checkCancellation(stopToken);
    return stored;
}

std::vector<LocalSong> SyncEngine::syncRemoteTracks(const LocalArtist& artist, std::stop_token stopToken) {
    const auto remote = LibraryFetch::fetchAlbums(LibraryFetch::ArtistID{artist.identifier}, stopToken);
    Foundation::checkCancellation(stopToken);
    const auto albums = database_->insert(incomingAlbums(remote));
    auto fetched = syncAlbumsConcurrently(*this, albums, stopToken);
    auto& songs = fetched.songs;
    // Only the lists of all its albums make the artist's whole list; otherwise the songs fetched join it.
    if (!fetched.complete) {
        addMissingStoredSongs(songs, database_->songs(artist));
    }
    TrackOrdering::sortInArtistOrder(
        songs, [](const LocalSong& song) -> const std::optional<std::string>& { return song.albumTitle; },
        [](const LocalSong& song) { return song.trackNumber; });
    Foundation::checkCancellation(stopToken);
    database_->replaceSongs(songs, artist);
    Foundation::checkCancellation(stopToken);
    return std::move(songs);
}

} // namespace MarrowbellCore
