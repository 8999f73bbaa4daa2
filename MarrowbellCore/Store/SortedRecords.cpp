#include "MarrowbellCore/Store/SortedRecords.h"

#include "RecordOrder.h"

namespace MarrowbellCore {

static_assert(std::random_access_iterator<SortedRecords<LocalSong>::const_iterator>);

template <class Record>
SortedRecords<Record> resorted(const SortedRecords<Record>& records,
                               const SortDescriptor<Record>& sortDescriptor) {
    std::vector<const Record*> order;
    order.reserve(records.size());
    for (const Record& record : records) {
        order.push_back(&record);
    }
    sortRecordPointers(order, sortDescriptor);
    return SortedRecords<Record>(records.table(), std::move(order));
}

template SortedRecords<LocalSong> resorted(const SortedRecords<LocalSong>&, const SortDescriptor<LocalSong>&);
template SortedRecords<LocalAlbum> resorted(const SortedRecords<LocalAlbum>&,
                                            const SortDescriptor<LocalAlbum>&);
template SortedRecords<LocalArtist> resorted(const SortedRecords<LocalArtist>&,
                                             const SortDescriptor<LocalArtist>&);
template SortedRecords<LocalPlaylist> resorted(const SortedRecords<LocalPlaylist>&,
                                               const SortDescriptor<LocalPlaylist>&);

} // namespace MarrowbellCore
