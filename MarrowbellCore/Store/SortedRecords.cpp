#include "MarrowbellCore/Store/SortedRecords.h"

#include "SortRecords.h"
#include "Threading/ParallelTransform.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <utility>

namespace MarrowbellCore {

template <class Record>
std::vector<std::size_t> sortedPositions(const std::vector<Record>& records,
                                         const SortDescriptor<Record>& sortDescriptor) {
    // The store reads rows in the order of their primary keys and sorts that list. Records that the sort
    // ranks equal keep no particular order, so only the same starting order gives the store's list. The
    // primary keys are copied out first: sorting by values read from the large records themselves would
    // mostly wait for memory.
    std::vector<std::pair<std::int64_t, const Record*>> byPK(records.size());
    std::transform(records.begin(), records.end(), byPK.begin(),
                   [](const Record& record) { return std::pair(record.pk, &record); });
    if (!std::is_sorted(byPK.begin(), byPK.end())) {
        parallelSort(byPK, std::less{});
    }
    std::vector<const Record*> order(records.size());
    std::transform(byPK.begin(), byPK.end(), order.begin(), [](const auto& keyed) { return keyed.second; });
    sortRecords(order, sortDescriptor);
    std::vector<std::size_t> positions(order.size());
    std::transform(order.begin(), order.end(), positions.begin(),
                   [&](const Record* record) { return std::size_t(record - records.data()); });
    return positions;
}

template <class Record>
std::vector<Record> sortedRecords(const std::vector<Record>& records,
                                  const SortDescriptor<Record>& sortDescriptor) {
    return parallelTransform(sortedPositions(records, sortDescriptor),
                             [&](std::size_t position, std::size_t) { return records[position]; });
}

template std::vector<std::size_t> sortedPositions(const std::vector<LocalSong>&,
                                                  const SortDescriptor<LocalSong>&);
template std::vector<LocalSong> sortedRecords(const std::vector<LocalSong>&,
                                              const SortDescriptor<LocalSong>&);
template std::vector<std::size_t> sortedPositions(const std::vector<LocalAlbum>&,
                                                  const SortDescriptor<LocalAlbum>&);
template std::vector<LocalAlbum> sortedRecords(const std::vector<LocalAlbum>&,
                                               const SortDescriptor<LocalAlbum>&);
template std::vector<std::size_t> sortedPositions(const std::vector<LocalArtist>&,
                                                  const SortDescriptor<LocalArtist>&);
template std::vector<LocalArtist> sortedRecords(const std::vector<LocalArtist>&,
                                                const SortDescriptor<LocalArtist>&);
template std::vector<std::size_t> sortedPositions(const std::vector<LocalPlaylist>&,
                                                  const SortDescriptor<LocalPlaylist>&);
template std::vector<LocalPlaylist> sortedRecords(const std::vector<LocalPlaylist>&,
                                                  const SortDescriptor<LocalPlaylist>&);

} // namespace MarrowbellCore
