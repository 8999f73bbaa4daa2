#include "Player/UpNextEdits.h"

#include <MusicKit/MusicPlayerQueue.h>
#include <algorithm>
#include <optional>

namespace Marrowbell::UpNextEdits {
namespace {

bool isMovableRow(int row, const std::vector<std::string>& rowIDs) {
    return row > 0 && static_cast<std::size_t>(row) < rowIDs.size();
}

/// The player offsets of the entries of `rows` that are still queued, in row order.
std::vector<std::size_t> offsetsOf(const MusicKit::MusicPlayerQueue& queue,
                                   const std::vector<std::string>& rowIDs, std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<std::size_t> offsets;
    for (const int row : rows) {
        if (!isMovableRow(row, rowIDs)) {
            continue;
        }
        if (const auto offset = queue.indexOf(rowIDs[static_cast<std::size_t>(row)])) {
            offsets.push_back(*offset);
        }
    }
    return offsets;
}

/// Where in the player's entries the row `destination` begins; after the last row for the row count.
std::optional<std::size_t> destinationOffset(const MusicKit::MusicPlayerQueue& queue,
                                             const std::vector<std::string>& rowIDs, int destination) {
    if (destination <= 0 || rowIDs.empty() || static_cast<std::size_t>(destination) > rowIDs.size()) {
        return std::nullopt;
    }
    if (static_cast<std::size_t>(destination) < rowIDs.size()) {
        return queue.indexOf(rowIDs[static_cast<std::size_t>(destination)]);
    }
    const auto last = queue.indexOf(rowIDs.back());
    return last ? std::optional(*last + 1) : std::nullopt;
}

} // namespace

bool remove(MusicKit::MusicPlayerQueue& queue, const std::vector<std::string>& rowIDs,
            const std::vector<int>& rows) {
    const std::vector<std::size_t> offsets = offsetsOf(queue, rowIDs, rows);
    if (offsets.empty()) {
        return false;
    }
    queue.remove(offsets);
    return true;
}

bool move(MusicKit::MusicPlayerQueue& queue, const std::vector<std::string>& rowIDs, std::vector<int> rows,
          int destination) {
    if (std::any_of(rows.begin(), rows.end(), [&](int row) { return !isMovableRow(row, rowIDs); })) {
        return false;
    }
    const std::optional<std::size_t> to = destinationOffset(queue, rowIDs, destination);
    const std::vector<std::size_t> offsets = offsetsOf(queue, rowIDs, std::move(rows));
    if (!to || offsets.empty()) {
        return false;
    }
    queue.move(offsets, *to);
    return true;
}

} // namespace Marrowbell::UpNextEdits
