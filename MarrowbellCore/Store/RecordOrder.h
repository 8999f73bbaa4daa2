#pragma once

#include "MarrowbellCore/Store/SortDescriptor.h"
#include "Threading/ParallelSort.h"
#include "Threading/ParallelWork.h"

#include <cstdint>
#include <numeric>
#include <vector>

namespace MarrowbellCore {

/// Sorts pointers to records by `sortDescriptor`. Records it ranks equal go by key, the order SQLite reads a
/// table in, so that a list sorted anew from any order comes out exactly as a sorted read of the file.
///
/// Where the descriptor gives sort keys, each record's key is made once, on several threads, and the keys are
/// sorted instead of the records: a locale-aware comparison of two texts does most of the work of making both
/// keys, and a sort compares each record some twenty times. The order is the same.
template <class Pointer, class Record>
void sortRecordPointers(std::vector<Pointer>& order, const SortDescriptor<Record>& sortDescriptor) {
    const auto& sortKeyOf = sortDescriptor.sortKeyOf();
    if (!sortKeyOf) {
        parallelSort(order, [&](const Record* lhs, const Record* rhs) {
            const auto ordering = sortDescriptor.compare(*lhs, *rhs);
            return ordering != 0 ? ordering < 0 : lhs->pk < rhs->pk;
        });
        return;
    }
    struct Keyed {
        typename SortDescriptor<Record>::SortKey key;
        std::int64_t pk = 0;
        Pointer record = nullptr;
    };
    std::vector<Keyed> keyed(order.size());
    constexpr std::size_t keysPerThread = 4096;
    ParallelWork::forEachRange(order.size(), keysPerThread, [&](ParallelWork::Range range) {
        for (auto index = range.begin; index < range.end; ++index) {
            keyed[index] = {sortKeyOf(*order[index]), order[index]->pk, order[index]};
        }
    });
    std::vector<std::uint32_t> positions(order.size());
    std::iota(positions.begin(), positions.end(), 0);
    parallelSort(positions, [&](std::uint32_t lhs, std::uint32_t rhs) {
        const auto ordering = sortDescriptor.compare(keyed[lhs].key, keyed[rhs].key);
        return ordering != 0 ? ordering < 0 : keyed[lhs].pk < keyed[rhs].pk;
    });
    for (std::size_t index = 0; index < positions.size(); ++index) {
        order[index] = keyed[positions[index]].record;
    }
}

} // namespace MarrowbellCore
