#pragma once

#include "MarrowbellCore/ItemViews/SearchSection.h"

#include <stop_token>
#include <string_view>
#include <vector>

namespace MarrowbellCore {

/// Searches the music service's whole catalog, not the user's library.
struct CatalogSearchEngine {
    /// The hits for `query`, trimmed of white space and line breaks at both ends, as sections
    /// "Playlists", "Albums", "Artists" and "Songs" in this order, each holding 1 to 10 catalog
    /// results in the service's order; a kind without hits has no section. A query that trims to
    /// nothing gives no sections and sends no request. Blocks; keeps no state, so searches may run
    /// at once on any threads. Throws Foundation::CancellationError when `stopToken` asks to stop,
    /// and the request's errors (MusicKit's, Foundation::DecodingError) unchanged.
    static std::vector<SearchSection> search(std::string_view query, std::stop_token stopToken = {});
};

} // namespace MarrowbellCore
