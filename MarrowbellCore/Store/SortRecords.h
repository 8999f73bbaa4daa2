#pragma once

#include "MarrowbellCore/Store/SortDescriptor.h"
#include "Threading/ParallelSort.h"
#include "Threading/ParallelWork.h"

#include <cstdint>
#include <numeric>
#include <vector>

namespace MarrowbellCore {

/// Sorts `order`, pointers to records, by `sortDescriptor`. Where the descriptor gives keys, each record's
/// key is made once, on several threads, and the keys are sorted: a locale-aware comparison of two texts does
/// most of the work of making both keys, and a sort compares each record some twenty times. The outcome, ties
/// included, is the one of sorting by the comparison: the sort takes the same steps because every comparison
/// has the same answer.
template <class Record, class Pointer>
void sortRecords(std::vector<Pointer>& order, const SortDescriptor<Record>& sortDescriptor) {
    const auto& sortKeyOf = sortDescriptor.sortKeyOf();
    if (!sortKeyOf) {
        parallelSort(order, [&](const Record* lhs, const Record* rhs) { return sortDescriptor(*lhs, *rhs); });
        return;
    }
    constexpr std::size_t keysPerThread = 4096;
    std::vector<typename SortDescriptor<Record>::SortKey> keys(order.size());
    ParallelWork::forEachRange(order.size(), keysPerThread, [&](ParallelWork::Range range) {
        for (auto index = range.begin; index < range.end; ++index) {
            keys[index] = sortKeyOf(*order[index]);
        }
    });
    std::vector<std::uint32_t> positions(order.size());
    std::iota(positions.begin(), positions.end(), 0);
    parallelSort(positions,
                 [&](std::uint32_t lhs, std::uint32_t rhs) { return sortDescriptor(keys[lhs], keys[rhs]); });
    std::vector<Pointer> sorted(order.size());
    for (std::size_t index = 0; index < positions.size(); ++index) {
        sorted[index] = order[positions[index]];
    }
    order.swap(sorted);
}

} // namespace MarrowbellCore
