#pragma once

#include "Remote/RemoteAlbum.h"
#include "Remote/RemoteArtist.h"
#include "Remote/RemotePlaylist.h"
#include "Remote/RemoteSong.h"

#include <Foundation/Progress.h>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

/// The fetches read the user's library from the music service of the current
/// MusicKit::ServiceConfiguration, page by page, and return the resources in the service's order.
/// They block the calling thread, one request at a time, and keep no state. Failures are thrown
/// unchanged: MusicKit::MusicDataRequest::Error, MusicKit::URLError, Foundation::DecodingError,
/// MusicKit::ServiceConfigurationError, and Foundation::CancellationError once `stopToken` asks to
/// stop a request under way. A page that announces more pages but holds no resources ends the list;
/// a list of every page that ends before the "meta"."total" its pages announced throws
/// IncompleteListingError, and so does a whole library list broken off that way.
namespace MarrowbellCore::LibraryFetch {

/// The library identifier of the container whose contents a fetch reads.
struct PlaylistID {
    std::string identifier;
};
struct AlbumID {
    std::string identifier;
};
struct ArtistID {
    std::string identifier;
};

/// The library lists: every page when `fetchAll`, else only the first (the most recently added
/// items where the list is sorted by date added). `progress` goes from 0 to 100 by the share of
/// "meta"."total" received so far (not clamped), and is set to 100 at the end.
std::vector<RemotePlaylist> fetchPlaylists(bool fetchAll, Foundation::Progress& progress,
                                           std::stop_token stopToken = {});
std::vector<RemoteAlbum> fetchAlbums(bool fetchAll, Foundation::Progress& progress,
                                     std::stop_token stopToken = {});
std::vector<RemoteArtist> fetchArtists(bool fetchAll, Foundation::Progress& progress,
                                       std::stop_token stopToken = {});
std::vector<RemoteSong> fetchSongs(bool fetchAll, Foundation::Progress& progress,
                                   std::stop_token stopToken = {});

/// How many items to reserve for a listing whose page announces `announcedTotal` ("meta"."total"): the
/// announcement is a guess, so a service's total must not make us allocate without bound.
std::size_t reservationFor(std::int64_t announcedTotal);

/// Every page of the same listings, handed over decoded as each arrives so that the caller can keep what
/// it needs and let the page go: the same requests, progress and failures as with `fetchAll`. A failure
/// ends the listing after the pages handed over so far.
template <class Resource> using TakePage = std::function<void(RemotePage<Resource>& page)>;
void forEachPlaylistPage(Foundation::Progress& progress, std::stop_token stopToken,
                         const TakePage<RemotePlaylist>& takePage);
void forEachAlbumPage(Foundation::Progress& progress, std::stop_token stopToken,
                      const TakePage<RemoteAlbum>& takePage);
void forEachArtistPage(Foundation::Progress& progress, std::stop_token stopToken,
                       const TakePage<RemoteArtist>& takePage);
void forEachSongPage(Foundation::Progress& progress, std::stop_token stopToken,
                     const TakePage<RemoteSong>& takePage);

/// A container's contents, every page. The track lists end without an error at the service's
/// error code 40403 (no related resources), keeping the tracks received before it. Throws
/// LibraryURLError when the identifier cannot be put into a URL.
std::vector<RemoteSong> fetchTracks(const PlaylistID& playlistID, std::stop_token stopToken = {});
std::vector<RemoteSong> fetchTracks(const AlbumID& albumID, std::stop_token stopToken = {});
std::vector<RemoteAlbum> fetchAlbums(const ArtistID& artistID, std::stop_token stopToken = {});

} // namespace MarrowbellCore::LibraryFetch
