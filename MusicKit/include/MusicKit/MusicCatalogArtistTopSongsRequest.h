#pragma once

#include "MusicKit/MusicItemID.h"
#include "MusicKit/Song.h"

#include <stop_token>
#include <vector>

namespace MusicKit {

/// Asks the catalog of the current ServiceConfiguration's storefront for an artist's most played
/// songs, through MusicDataRequest: the same authorization, errors and cancellation.
class MusicCatalogArtistTopSongsRequest {
public:
    explicit MusicCatalogArtistTopSongsRequest(MusicItemID artistID)
        : artistID_(std::move(artistID)) {}

    /// The songs, best first; none when the artist has none. Blocks until the answer is complete.
    /// Throws what MusicDataRequest::response throws (an unknown artist is the service's 404), and
    /// Foundation::DecodingError when the answer is not a list of songs.
    std::vector<Song> response(std::stop_token stopToken = {}) const;

private:
    MusicItemID artistID_;
};

} // namespace MusicKit
