#pragma once

#include "ParallelWork.h"

#include <algorithm>
#include <vector>

namespace MarrowbellCore {

/// Sorts `items` by `less` as std::sort does (items that `less` ranks equal end up in any order). A long list
/// is cut into parts that are sorted on threads of their own and then merged pairwise, the pairs again in
/// parallel. `less` must be safe to call from several threads at once.
template <class Item, class Less> void parallelSort(std::vector<Item>& items, Less less) {
    constexpr std::size_t itemsPerThread = 8192;
    auto runs = ParallelWork::split(items.size(), itemsPerThread);
    ParallelWork::forEachIndex(runs.size(), [&](std::size_t run) {
        std::sort(items.begin() + runs[run].begin, items.begin() + runs[run].end, less);
    });
    std::vector<Item> merged(runs.size() > 1 ? items.size() : 0);
    while (runs.size() > 1) {
        std::vector<ParallelWork::Range> mergedRuns((runs.size() + 1) / 2);
        ParallelWork::forEachIndex(mergedRuns.size(), [&](std::size_t pair) {
            const auto first = runs[2 * pair];
            const auto second =
                2 * pair + 1 < runs.size() ? runs[2 * pair + 1] : ParallelWork::Range{first.end, first.end};
            std::merge(items.begin() + first.begin, items.begin() + first.end, items.begin() + second.begin,
                       items.begin() + second.end, merged.begin() + first.begin, less);
            mergedRuns[pair] = {first.begin, second.end};
        });
        items.swap(merged);
        runs = std::move(mergedRuns);
    }
}

} // namespace MarrowbellCore
