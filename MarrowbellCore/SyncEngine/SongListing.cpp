#include "SongListing.h"

#include "LibraryFetch.h"
#include "SongOrder.h"

namespace MarrowbellCore {
namespace {

/// Songs are converted in runs of this many: enough to keep every core busy, few enough that the songs
/// waiting for their conversion stay a small part of a large library.
constexpr std::size_t songsPerConversion = 4096;

} // namespace

SongListing SongListing::fetch(std::int64_t now, Foundation::Progress& progress, std::stop_token stopToken) {
    SongListing listing;
    std::vector<RemoteSong> waiting;
    const auto convertWaiting = [&] {
        SongOrder::appendIncomingLibrarySongs(waiting, now, listing.songs);
        waiting.clear();
    };
    LibraryFetch::forEachSongPage(progress, stopToken, [&](RemotePage<RemoteSong>& page) {
        listing.songs.reserve(LibraryFetch::reservationFor(page.meta.total));
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
