#include "MarrowbellCore/Store/SortedRecords.h"

#include "RecordOrder.h"

namespace MarrowbellCore {
namespace {

static_assert(std::random_access_iterator<SortedRecords<LocalSong>::const_iterator>);

template <class Record>
SortedRecords<Record> resortedOf(const SortedRecords<Record>& records,
                                 const SortDescriptor<Record>& sortDescriptor) {
    std::vector<const Record*> order;
    order.reserve(records.size());
    for (const Record& record : records) {
        order.push_back(&record);
    }
    sortRecordPointers(order, sortDescriptor);
    return SortedRecords<Record>(records.table(), std::move(order));
}

} // namespace

SortedRecords<LocalSong> resorted(const SortedRecords<LocalSong>& records,
                                  const SortDescriptor<LocalSong>& sortDescriptor) {
    return resortedOf(records, sortDescriptor);
}

SortedRecords<LocalAlbum> resorted(const SortedRecords<LocalAlbum>& records,
                                   const SortDescriptor<LocalAlbum>& sortDescriptor) {
    return resortedOf(records, sortDescriptor);
}

SortedRecords<LocalArtist> resorted(const SortedRecords<LocalArtist>& records,
                                    const SortDescriptor<LocalArtist>& sortDescriptor) {
    return resortedOf(records, sortDescriptor);
}

SortedRecords<LocalPlaylist> resorted(const SortedRecords<LocalPlaylist>& records,
                                      const SortDescriptor<LocalPlaylist>& sortDescriptor) {
    return resortedOf(records, sortDescriptor);
}

} // namespace MarrowbellCore
