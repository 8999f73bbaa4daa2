#pragma once

#include "MarrowbellCore/Store/LocalDatabase.h"
#include "MarrowbellCore/Store/LocalSong.h"
#include "RecordSlices.h"

#include <deque>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <thread>
#include <vector>

namespace MarrowbellCore {

/// Songs rows (the 14 columns of the table, in table order) copied off a statement and turned into records.
/// Copying has to happen on the connection's thread, a row at a time; turning the copies into records (UTF-8
/// repair, URL parsing) is what costs. So the rows are gathered in
/// slices, and each full slice is decoded on a thread of its own while the next one is read. A row without
/// identifier or title gives no record.
class SongRows {
public:
    SongRows();
    ~SongRows();
    SongRows(const SongRows&) = delete;
    SongRows& operator=(const SongRows&) = delete;

    /// Copies the row `statement` is positioned on.
    void append(sqlite3_stmt* statement);
    /// The records of the rows appended, slice by slice in row order, once every slice is decoded.
    RecordSlices<LocalSong> records();

    /// The record of the row `statement` is positioned on.
    static std::optional<LocalSong> record(sqlite3_stmt* statement);
    /// The same row read as no more than its ordering keys; nothing where record() gives nothing.
    static std::optional<StoredTrackMetadata> trackMetadata(sqlite3_stmt* statement);

private:
    class Slice;

    void startDecoding(Slice& slice);

    std::vector<std::unique_ptr<Slice>> slices_;
    /// Declared after the slices, so that the threads are joined before the slices they decode go away.
    std::deque<std::jthread> decoders_;
};

} // namespace MarrowbellCore
