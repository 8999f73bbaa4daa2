#pragma once

#include <cstddef>
#include <vector>

namespace MarrowbellCore {

/// Records read in consecutive slices, each decoded on its own thread (see SongRows); together they are the
/// rows in the order SQLite gave them.
template <class Record> using RecordSlices = std::vector<std::vector<Record>>;

/// The records of all slices that `keep` accepts, in one list, in order. Each slice is let go as soon as its
/// records are moved, so that a long list is not held twice on its way into one.
template <class Record, class Keep> std::vector<Record> concatenated(RecordSlices<Record> slices, Keep keep) {
    std::size_t count = 0;
    for (const auto& slice : slices) {
        count += slice.size();
    }
    std::vector<Record> records;
    records.reserve(count);
    for (auto& slice : slices) {
        for (auto& record : slice) {
            if (keep(record)) {
                records.push_back(std::move(record));
            }
        }
        slice = {};
    }
    return records;
}

template <class Record> std::vector<Record> concatenated(RecordSlices<Record> slices) {
    if (slices.size() == 1) {
        return std::move(slices.front());
    }
    return concatenated(std::move(slices), [](const Record&) { return true; });
}

/// Rearranges `records` in place so that position i holds the record that was at `order[i]`, following each
/// cycle of the permutation: each record moves once and no second list is needed. `order` is used up.
template <class Record> void permute(std::vector<Record>& records, std::vector<std::size_t>& order) {
    for (std::size_t start = 0; start < records.size(); ++start) {
        if (order[start] == start) {
            continue;
        }
        Record held = std::move(records[start]);
        std::size_t at = start;
        while (order[at] != start) {
            const std::size_t from = order[at];
            records[at] = std::move(records[from]);
            order[at] = at;
            at = from;
        }
        records[at] = std::move(held);
        order[at] = at;
    }
}

} // namespace MarrowbellCore
