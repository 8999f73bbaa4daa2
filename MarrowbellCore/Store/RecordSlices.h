#pragma once

#include "Threading/ParallelWork.h"

#include <algorithm>
#include <vector>

namespace MarrowbellCore {

/// Records read in consecutive slices, each decoded on its own thread (see SongRows); together they are the
/// rows in the order SQLite gave them.
template <class Record> using RecordSlices = std::vector<std::vector<Record>>;

/// Moves the records that `order` points at into `records`, which holds as many, in that order; records
/// behind const pointers are copied. It is done on several threads: records are large and lie scattered, so
/// moving them one after the other would mostly wait for memory.
template <class Record, class Pointer>
void gather(const std::vector<Pointer>& order, std::vector<Record>& records) {
    constexpr std::size_t recordsPerThread = 4096;
    ParallelWork::forEachRange(order.size(), recordsPerThread, [&](ParallelWork::Range range) {
        for (auto index = range.begin; index < range.end; ++index) {
            records[index] = std::move(*order[index]);
        }
    });
}

/// The records of all slices in one list, in order.
template <class Record> std::vector<Record> concatenated(RecordSlices<Record> slices) {
    if (slices.size() == 1) {
        return std::move(slices.front());
    }
    std::vector<Record*> order;
    for (auto& slice : slices) {
        for (auto& record : slice) {
            order.push_back(&record);
        }
    }
    std::vector<Record> records(order.size());
    gather(order, records);
    return records;
}

} // namespace MarrowbellCore
