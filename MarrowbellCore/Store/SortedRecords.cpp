#include "MarrowbellCore/Store/SortedRecords.h"

#include "RecordOrder.h"
#include "RecordSlices.h"

#include <Foundation/CancellationError.h>

namespace MarrowbellCore {
namespace {

template <class Record>
std::vector<Record> sortedCopyOf(const std::vector<Record>& records,
                                 const SortDescriptor<Record>& sortDescriptor,
                                 const std::stop_token& stopToken) {
    std::vector<const Record*> order;
    order.reserve(records.size());
    for (const Record& record : records) {
        order.push_back(&record);
    }
    sortRecordPointers(order, sortDescriptor);
    Foundation::checkCancellation(stopToken);
    std::vector<Record> copy(order.size());
    gather(order, copy);
    return copy;
}

} // namespace

std::vector<LocalSong> sortedCopy(const std::vector<LocalSong>& records,
                                  const SortDescriptor<LocalSong>& sortDescriptor,
                                  std::stop_token stopToken) {
    return sortedCopyOf(records, sortDescriptor, stopToken);
}

std::vector<LocalAlbum> sortedCopy(const std::vector<LocalAlbum>& records,
                                   const SortDescriptor<LocalAlbum>& sortDescriptor,
                                   std::stop_token stopToken) {
    return sortedCopyOf(records, sortDescriptor, stopToken);
}

std::vector<LocalArtist> sortedCopy(const std::vector<LocalArtist>& records,
                                    const SortDescriptor<LocalArtist>& sortDescriptor,
                                    std::stop_token stopToken) {
    return sortedCopyOf(records, sortDescriptor, stopToken);
}

std::vector<LocalPlaylist> sortedCopy(const std::vector<LocalPlaylist>& records,
                                      const SortDescriptor<LocalPlaylist>& sortDescriptor,
                                      std::stop_token stopToken) {
    return sortedCopyOf(records, sortDescriptor, stopToken);
}

} // namespace MarrowbellCore
