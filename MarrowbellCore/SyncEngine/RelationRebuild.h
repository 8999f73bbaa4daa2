#pragma once

#include "MarrowbellCore/Store/LocalDatabase.h"
#include "SongMemberships.h"

#include <vector>

/// After a whole song listing: the album (artist) song lists rewritten from the fetched songs' relationships,
/// ordered by track (album title, then track) among the songs as stored. The store writes them in one
/// transaction.
namespace MarrowbellCore::RelationRebuild {

void rebuildAlbumSongs(LocalDatabase& database, const SongMemberships& songs,
                       const std::vector<StoredTrackMetadata>& storedSongs);
void rebuildArtistSongs(LocalDatabase& database, const SongMemberships& songs,
                        const std::vector<StoredTrackMetadata>& storedSongs);

} // namespace MarrowbellCore::RelationRebuild
