#pragma once

#include "MarrowbellCore/Requests/LibraryItemError.h"

#include <MusicKit/CatalogItems.h>
#include <MusicKit/MusicItemID.h>
#include <stop_token>

namespace MarrowbellCore {

/// One item of the user's library by its identifier, as the service describes it; the first when
/// several match. Each blocks, keeps no state and may run on any thread. Throws the kind's
/// LibraryItemError::notFound() when the library holds no such item, and the request's errors
/// (MusicKit's, Foundation::DecodingError, Foundation::CancellationError) unchanged.
MusicKit::Playlist playlistWith(const MusicKit::MusicItemID& id, std::stop_token stopToken = {});
MusicKit::Artist artistWith(const MusicKit::MusicItemID& id, std::stop_token stopToken = {});
MusicKit::Album albumWith(const MusicKit::MusicItemID& id, std::stop_token stopToken = {});

} // namespace MarrowbellCore
