#pragma once

#include "MusicKit/CatalogItems.h"
#include "MusicKit/MusicItemID.h"

#include <optional>
#include <stop_token>
#include <vector>

namespace MusicKit {

template <class Item> struct MusicLibraryResponse {
    /// The matching items of the user's library, in the service's order.
    std::vector<Item> items;
};

/// Asks the user's library on the current ServiceConfiguration's service for items of one kind
/// (Playlist, Album or Artist), through MusicDataRequest: the same authorization, errors and
/// cancellation.
template <class Item> class MusicLibraryRequest {
public:
    /// Restricts the request to the items whose identifier equals `value`: `filter(&Playlist::id, id)`
    /// (the identifier is the one property the service filters on). Without a filter the response
    /// holds the service's first page.
    void filter(MusicItemID Item::*, MusicItemID value) { idFilter_ = std::move(value); }

    /// Blocks until the answer is complete. Throws what MusicDataRequest::response throws, and
    /// Foundation::DecodingError when the answer is not a list of the kind.
    MusicLibraryResponse<Item> response(std::stop_token stopToken = {}) const;

private:
    std::optional<MusicItemID> idFilter_;
};

extern template class MusicLibraryRequest<Playlist>;
extern template class MusicLibraryRequest<Album>;
extern template class MusicLibraryRequest<Artist>;

} // namespace MusicKit
