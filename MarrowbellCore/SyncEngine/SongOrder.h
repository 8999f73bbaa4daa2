#pragma once

#include "MarrowbellCore/Store/IncomingSong.h"
#include "Remote/RemoteSong.h"

#include <cstdint>
#include <vector>

namespace MarrowbellCore::SongOrder {

/// Whole seconds since the reference date, truncated toward zero: the count a sync's order values start at.
std::int64_t syncTimeNow();

/// Library songs from a newest-first list: the song at position i gets the order value `now` − i, so a
/// larger value means added more recently.
std::vector<IncomingSong> incomingLibrarySongs(const std::vector<RemoteSong>& remote, std::int64_t now);
/// The same for a run of the list that follows the songs already in `songs`, appended to them: positions
/// count from the start of the whole list.
void appendIncomingLibrarySongs(const std::vector<RemoteSong>& remote, std::int64_t now,
                                std::vector<IncomingSong>& songs);

} // namespace MarrowbellCore::SongOrder
