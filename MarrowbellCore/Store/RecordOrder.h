#pragma once

#include "MarrowbellCore/Store/SortDescriptor.h"
#include "Threading/ParallelSort.h"

#include <vector>

namespace MarrowbellCore {

/// Sorts pointers to records by `sortDescriptor`. Records it ranks equal go by key, the order SQLite reads a
/// table in, so that a list sorted anew from any order comes out exactly as a sorted read of the file.
template <class Pointer, class Record>
void sortRecordPointers(std::vector<Pointer>& order, const SortDescriptor<Record>& sortDescriptor) {
    parallelSort(order, [&](const Record* lhs, const Record* rhs) {
        const auto ordering = sortDescriptor.compare(*lhs, *rhs);
        return ordering != 0 ? ordering < 0 : lhs->pk < rhs->pk;
    });
}

} // namespace MarrowbellCore
