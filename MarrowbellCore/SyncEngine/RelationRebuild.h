#pragma once

#include "MarrowbellCore/Store/LocalDatabase.h"
#include "SongMemberships.h"

#include <stop_token>
#include <vector>

/// After a whole song listing: the album (artist) song lists rewritten from the fetched songs' relationships,
/// ordered by track (album title, then track) among the songs as stored. The store writes them in one
/// transaction. A stop request ends the grouping, the sorting or the write with
/// Foundation::CancellationError, leaving the stored lists as they were.
namespace MarrowbellCore::RelationRebuild {

void rebuildAlbumSongs(LocalDatabase& database, const SongMemberships& songs,
                       const std::vector<StoredTrackMetadata>& storedSongs, std::stop_token stopToken = {});
void rebuildArtistSongs(LocalDatabase& database, const SongMemberships& songs,
                        const std::vector<StoredTrackMetadata>& storedSongs, std::stop_token stopToken = {});

} // namespace MarrowbellCore::RelationRebuild
