#pragma once

#include <string>
#include <vector>

namespace MusicKit {
class MusicPlayerQueue;
}

namespace Marrowbell::UpNextEdits {

// The up-next list's edits. The list shows the queue from the playing entry onward, so its rows are not
// offsets into the player's entries: every edit names entries by the ids of its rows (`rowIDs`, the
// entry ids in shown order) and finds them in the player's queue as it is now. Row 0, the playing
// entry, is never removed or moved, and nothing is moved above it. Entries that have left the queue
// meanwhile are skipped. GUI thread.

/// Removes the entries of `rows`; false when nothing was removed.
bool remove(MusicKit::MusicPlayerQueue& queue, const std::vector<std::string>& rowIDs,
            const std::vector<int>& rows);
/// Moves the entries of `rows`, keeping their order, to before the row `destination` (counted before the
/// move; the row count means after the last row); false when refused or nothing moved.
bool move(MusicKit::MusicPlayerQueue& queue, const std::vector<std::string>& rowIDs, std::vector<int> rows,
          int destination);

} // namespace Marrowbell::UpNextEdits
