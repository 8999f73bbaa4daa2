#pragma once

#include "MarrowbellCore/Store/IncomingSong.h"
#include "SongMemberships.h"

#include <Foundation/Progress.h>
#include <cstdint>
#include <stop_token>
#include <vector>

namespace MarrowbellCore {

/// The library's songs as a sync holds them between the fetch and the relation rebuild.
struct SongListing {
    /// The records to store, in the service's order, the song at position i with the order value `now` − i.
    std::vector<IncomingSong> songs;
    /// The albums and artists each song names, in the same order.
    SongMemberships memberships;

    /// Every page of the library's songs, converted as the pages arrive so that the service's resources
    /// never pile up. Requests, progress and failures are those of LibraryFetch::forEachSongPage.
    static SongListing fetch(std::int64_t now, Foundation::Progress& progress, std::stop_token stopToken);
};

} // namespace MarrowbellCore
