#include "LibraryFetch.h"

#include "MarrowbellCore/Sync/IncompleteListingError.h"
#include "MarrowbellCore/Sync/LibraryURLError.h"
#include "Remote/RemoteAlbum.h"
#include "Remote/RemoteArtist.h"
#include "Remote/RemotePlaylist.h"
#include "Remote/RemoteSong.h"

#include <Foundation/URL.h>
#include <MusicKit/MusicDataRequest.h>
#include <MusicKit/ServiceConfiguration.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <string_view>

namespace MarrowbellCore {
namespace {

constexpr std::int64_t noRelatedResourcesCode = 40403;
constexpr std::int64_t largestReservation = 1 << 20;

/// Where the pages of one listing are: the offset goes between `prefix` and `suffix`.
struct PageURL {
    std::string prefix;
    std::string suffix;
    /// The container identifier inside the URL, if any, for the error when the URL does not parse.
    std::string identifier;

    Foundation::URL at(std::int64_t offset) const {
        auto url = Foundation::URL::fromString(prefix + std::to_string(offset) + suffix);
        if (!url) {
            throw LibraryURLError(identifier);
        }
        return *std::move(url);
    }
};

std::string apiBase() {
    return MusicKit::ServiceConfiguration::requireCurrent().apiBase;
}

PageURL listPageURL(const std::string& beforeOffset, const std::string& afterOffset) {
    return PageURL{apiBase() + beforeOffset, afterOffset, {}};
}

PageURL playlistsURL() {
    return listPageURL("/v1/me/library/playlists?include=artwork&limit=100&offset=", "&sort=-dateAdded");
}

PageURL albumsURL() {
    return listPageURL("/v1/me/library/albums?include=artwork&limit=100&offset=", "&sort=-dateAdded");
}

PageURL artistsURL() {
    return listPageURL("/v1/me/library/artists?limit=100&offset=", "&include=catalog");
}

PageURL songsURL() {
    return listPageURL("/v1/me/library/songs?limit=100&offset=", "&sort=-dateAdded&include=artists,albums");
}

/// Whether the segment is "." or "..", "." also spelled "%2e": the service resolves such a segment
/// against the path before it, as every URL reader does.
bool isDotSegment(std::string_view segment) {
    std::size_t dots = 0;
    while (!segment.empty() && dots < 3) {
        if (segment.starts_with('.')) {
            segment.remove_prefix(1);
        } else if (segment.size() >= 3 && segment.starts_with('%') && segment[1] == '2' &&
                   (segment[2] == 'e' || segment[2] == 'E')) {
            segment.remove_prefix(3);
        } else {
            return false;
        }
        ++dots;
    }
    return segment.empty() && dots <= 2;
}

/// The identifier goes into the path verbatim, so it must be one non-empty path segment: a "/", "?"
/// or "#", or a dot segment, would address another resource than the container's.
PageURL containerPageURL(const std::string& collection, const std::string& identifier,
                         const std::string& contents) {
    if (identifier.empty() || identifier.find_first_of("/?#") != std::string::npos ||
        isDotSegment(identifier)) {
        throw LibraryURLError(identifier);
    }
    return PageURL{apiBase() + "/v1/me/library/" + collection + "/" + identifier + "/" + contents +
                       "?limit=100&offset=",
                   "", identifier};
}

template <class Resource>
RemotePage<Resource> fetchPage(const PageURL& pageURL, std::int64_t offset,
                               const std::stop_token& stopToken) {
    const MusicKit::URLRequest request(pageURL.at(offset));
    return RemotePage<Resource>::decode(MusicKit::MusicDataRequest(request).response(stopToken).data);
}

template <class Resource> void append(std::vector<Resource>& items, std::vector<Resource>& page) {
    items.insert(items.end(), std::make_move_iterator(page.begin()), std::make_move_iterator(page.end()));
}

/// A page with "next" but no resources would ask for the same offset again: it ends the list.
template <class Resource> bool hasMorePages(const RemotePage<Resource>& page) {
    return page.next.has_value() && !page.data.empty();
}

template <class Resource> bool isBrokenOff(const RemotePage<Resource>& page) {
    return page.next.has_value() && page.data.empty();
}

/// The total a listing's pages announce: the first one that is not 0, as a service may leave it out of
/// some pages. 0 while none has been announced.
struct AnnouncedTotal {
    std::int64_t value = 0;

    template <class Resource> void take(const RemotePage<Resource>& page) {
        if (value == 0) {
            value = page.meta.total;
        }
    }

    /// A listing whose last page came before the announced total is missing items the service still has:
    /// stored as the whole listing, it would remove them.
    void requireReached(std::int64_t received) const {
        if (received < value) {
            throw IncompleteListingError(received, value);
        }
    }
};

template <class Resource>
void forEachListPage(const PageURL& pageURL, bool fetchAll, Foundation::Progress& progress,
                     const std::stop_token& stopToken, const LibraryFetch::TakePage<Resource>& takePage) {
    std::int64_t offset = 0;
    AnnouncedTotal total;
    for (;;) {
        auto page = fetchPage<Resource>(pageURL, offset, stopToken);
        offset += static_cast<std::int64_t>(page.data.size());
        // Judged before the page is handed over, since the taker may move its resources out.
        const bool brokenOff = isBrokenOff(page);
        const bool morePages = hasMorePages(page);
        total.take(page);
        takePage(page);
        if (total.value > 0) {
            progress.setCompletedUnitCount(
                std::llround(static_cast<double>(offset) / static_cast<double>(total.value) * 100.0));
        }
        if (!fetchAll) {
            break;
        }
        // A whole listing replaces the stored items of its kind, so one that ends early would remove
        // items the service still has: it fails instead.
        if (brokenOff) {
            throw IncompleteListingError(offset);
        }
        if (!morePages) {
            total.requireReached(offset);
            break;
        }
    }
    progress.setCompletedUnitCount(100);
}

template <class Resource>
std::vector<Resource> fetchList(const PageURL& pageURL, bool fetchAll, Foundation::Progress& progress,
                                const std::stop_token& stopToken) {
    std::vector<Resource> items;
    forEachListPage<Resource>(pageURL, fetchAll, progress, stopToken, [&](RemotePage<Resource>& page) {
        items.reserve(LibraryFetch::reservationFor(page.meta.total));
        append(items, page.data);
    });
    return items;
}

/// Every page of a container's contents. With `endsAtNoRelatedResources`, the service's code 40403
/// ends the list with what arrived before it instead of failing. The list replaces the container's
/// stored one, so it must reach the total its pages announced.
template <class Resource>
std::vector<Resource> fetchContainer(const PageURL& pageURL, bool endsAtNoRelatedResources,
                                     const std::stop_token& stopToken) {
    std::vector<Resource> items;
    std::int64_t offset = 0;
    AnnouncedTotal total;
    for (;;) {
        std::optional<RemotePage<Resource>> page;
        try {
            page = fetchPage<Resource>(pageURL, offset, stopToken);
        } catch (const MusicKit::MusicDataRequest::Error& error) {
            if (endsAtNoRelatedResources && error.code() == noRelatedResourcesCode) {
                return items;
            }
            throw;
        }
        offset += static_cast<std::int64_t>(page->data.size());
        total.take(*page);
        append(items, page->data);
        if (!hasMorePages(*page)) {
            total.requireReached(offset);
            return items;
        }
    }
}

} // namespace

std::size_t LibraryFetch::reservationFor(std::int64_t announcedTotal) {
    return static_cast<std::size_t>(std::clamp<std::int64_t>(announcedTotal, 0, largestReservation));
}

std::vector<RemotePlaylist> LibraryFetch::fetchPlaylists(bool fetchAll, Foundation::Progress& progress,
                                                         std::stop_token stopToken) {
    return fetchList<RemotePlaylist>(playlistsURL(), fetchAll, progress, stopToken);
}

std::vector<RemoteAlbum> LibraryFetch::fetchAlbums(bool fetchAll, Foundation::Progress& progress,
                                                   std::stop_token stopToken) {
    return fetchList<RemoteAlbum>(albumsURL(), fetchAll, progress, stopToken);
}

std::vector<RemoteArtist> LibraryFetch::fetchArtists(bool fetchAll, Foundation::Progress& progress,
                                                     std::stop_token stopToken) {
    return fetchList<RemoteArtist>(artistsURL(), fetchAll, progress, stopToken);
}

std::vector<RemoteSong> LibraryFetch::fetchSongs(bool fetchAll, Foundation::Progress& progress,
                                                 std::stop_token stopToken) {
    return fetchList<RemoteSong>(songsURL(), fetchAll, progress, stopToken);
}

void LibraryFetch::forEachPlaylistPage(Foundation::Progress& progress, std::stop_token stopToken,
                                       const TakePage<RemotePlaylist>& takePage) {
    forEachListPage(playlistsURL(), true, progress, stopToken, takePage);
}

void LibraryFetch::forEachAlbumPage(Foundation::Progress& progress, std::stop_token stopToken,
                                    const TakePage<RemoteAlbum>& takePage) {
    forEachListPage(albumsURL(), true, progress, stopToken, takePage);
}

void LibraryFetch::forEachArtistPage(Foundation::Progress& progress, std::stop_token stopToken,
                                     const TakePage<RemoteArtist>& takePage) {
    forEachListPage(artistsURL(), true, progress, stopToken, takePage);
}

void LibraryFetch::forEachSongPage(Foundation::Progress& progress, std::stop_token stopToken,
                                   const TakePage<RemoteSong>& takePage) {
    forEachListPage(songsURL(), true, progress, stopToken, takePage);
}

std::vector<RemoteSong> LibraryFetch::fetchTracks(const PlaylistID& playlistID, std::stop_token stopToken) {
    return fetchContainer<RemoteSong>(containerPageURL("playlists", playlistID.identifier, "tracks"), true,
                                      stopToken);
}

std::vector<RemoteSong> LibraryFetch::fetchTracks(const AlbumID& albumID, std::stop_token stopToken) {
    return fetchContainer<RemoteSong>(containerPageURL("albums", albumID.identifier, "tracks"), true,
                                      stopToken);
}

std::vector<RemoteAlbum> LibraryFetch::fetchAlbums(const ArtistID& artistID, std::stop_token stopToken) {
    return fetchContainer<RemoteAlbum>(containerPageURL("artists", artistID.identifier, "albums"), false,
                                       stopToken);
}

} // namespace MarrowbellCore
