#pragma once

#include "MusicKit/CatalogItems.h"
#include "MusicKit/Song.h"

#include <optional>
#include <stop_token>
#include <string>
#include <variant>
#include <vector>

namespace MusicKit {

/// The kinds of catalog item a search can ask for.
enum class MusicCatalogSearchable { playlist, album, artist, song };

/// The hits of a catalog search, each kind in the service's order.
struct MusicCatalogSearchResponse {
    /// One of the service's best hits across the kinds.
    using TopResult = std::variant<Playlist, Album, Artist, Song>;

    std::vector<Playlist> playlists;
    std::vector<Album> albums;
    std::vector<Artist> artists;
    std::vector<Song> songs;
    /// Filled only when the request asked for top results.
    std::vector<TopResult> topResults;
};

/// Searches the catalog of the current ServiceConfiguration's storefront for a term, through
/// MusicDataRequest: the same authorization, errors and cancellation.
class MusicCatalogSearchRequest {
public:
    MusicCatalogSearchRequest(std::string term, std::vector<MusicCatalogSearchable> types)
        : term_(std::move(term))
        , types_(std::move(types)) {}

    bool includeTopResults = false;
    /// Items per kind; the service's default when not set.
    std::optional<int> limit;

    const std::string& term() const { return term_; }
    const std::vector<MusicCatalogSearchable>& types() const { return types_; }

    /// Blocks until the answer is complete. Throws what MusicDataRequest::response throws, and
    /// Foundation::DecodingError when the answer is not a search result.
    MusicCatalogSearchResponse response(std::stop_token stopToken = {}) const;

private:
    std::string term_;
    std::vector<MusicCatalogSearchable> types_;
};

} // namespace MusicKit
