#include "SongListing.h"

#include "LibraryFetch.h"
#include "SongOrder.h"

#include <algorithm>

namespace MarrowbellCore {
namespace {

/// Songs are converted in runs of this many: enough to keep every core busy, few enough that the songs
/// waiting for their conversion stay a small part of a large library.
constexpr std::size_t songsPerConversion = 4096;
/// Reserving for the announced total is a guess; a service's "total" must not make us allocate without bound.
constexpr std::int64_t largestReservation = 1 << 20;

} // namespace

SongListing SongListing::fetch(std::int64_t now, Foundation::Progress& progress, std::stop_token stopToken) {
    SongListing listing;
    std::vector<RemoteSong> waiting;
    const auto convertWaiting = [&] {
        SongOrder::appendIncomingLibrarySongs(waiting, now, listing.songs);
        waiting.clear();
    };
    bool reserved = false;
    LibraryFetch::forEachSongPage(progress, stopToken, [&](RemotePage<RemoteSong>& page) {
        if (!reserved && page.meta.total != 0) {
            listing.songs.reserve(
                static_cast<std::size_t>(std::clamp<std::int64_t>(page.meta.total, 0, largestReservation)));
            reserved = true;
        }
        for (auto& song : page.data) {
            listing.memberships.append(song);
            waiting.push_back(std::move(song));
        }
        if (waiting.size() >= songsPerConversion) {
            convertWaiting();
        }
    });
    convertWaiting();
    return listing;
}

} // namespace MarrowbellCore
