#pragma once

#include "SQLValue.h"

#include <cstdint>

namespace MarrowbellCore {

/// The values of one PlaylistSongs, AlbumSongs or ArtistSongs row, in the order the relation statements
/// bind them: the owner's key, the song's key, and the song's 0-based position in the owner's list.
inline SQLValues relationRowValues(std::int64_t sortOrder, std::int64_t songPK, std::int64_t ownerPK) {
    return {ownerPK, songPK, sortOrder};
}

} // namespace MarrowbellCore
