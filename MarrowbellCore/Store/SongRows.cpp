#include "SongRows.h"

#include "SQLColumns.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <span>

namespace MarrowbellCore {
namespace {

/// The bytes of one column as SQLite gave them; no data for NULL.
struct Bytes {
    const char* data = nullptr;
    std::size_t size = 0;
};

std::optional<std::string> text(Bytes bytes) {
    return SQLColumns::text(bytes.data, bytes.size);
}

Bytes textColumn(sqlite3_stmt* statement, int column) {
    const auto* characters = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return {characters, characters ? static_cast<std::size_t>(sqlite3_column_bytes(statement, column)) : 0};
}

Bytes blobColumn(sqlite3_stmt* statement, int column) {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
    return {bytes, bytes ? static_cast<std::size_t>(sqlite3_column_bytes(statement, column)) : 0};
}

/// Rows per slice: enough that a thread pays for itself, few enough that a read of a few thousand rows
/// already runs on several threads.
constexpr std::size_t rowsPerSlice = 2048;

struct Row {
    std::int64_t pk = 0;
    Bytes identifier;
    Bytes title;
    double duration = 0.0;
    Bytes artistName;
    Bytes albumTitle;
    Bytes genre;
    double dateAdded = 0.0;
    double releaseDate = 0.0;
    Bytes playParameters;
    Bytes artworkURL;
    std::int64_t trackNumber = 0;
    std::int64_t order = 0;
    std::int64_t isPassive = 0;

    /// Reads the current row of `statement`, handing each text and blob to `keep`.
    template <class Keep> static Row read(sqlite3_stmt* statement, Keep keep) {
        return {
            .pk = sqlite3_column_int64(statement, 0),
            .identifier = keep(textColumn(statement, 1)),
            .title = keep(textColumn(statement, 2)),
            .duration = sqlite3_column_double(statement, 3),
            .artistName = keep(textColumn(statement, 4)),
            .albumTitle = keep(textColumn(statement, 5)),
            .genre = keep(textColumn(statement, 6)),
            .dateAdded = sqlite3_column_double(statement, 7),
            .releaseDate = sqlite3_column_double(statement, 8),
            .playParameters = keep(blobColumn(statement, 9)),
            .artworkURL = keep(textColumn(statement, 10)),
            .trackNumber = sqlite3_column_int64(statement, 11),
            .order = sqlite3_column_int64(statement, 12),
            .isPassive = sqlite3_column_int64(statement, 13),
        };
    }

    bool hasRecord() const { return identifier.data && title.data; }

    std::span<const std::uint8_t> playParameterBytes() const {
        return {reinterpret_cast<const std::uint8_t*>(playParameters.data), playParameters.size};
    }

    /// The record, holding `storedPlayParameters` as this row's play parameters; nothing without hasRecord().
    std::optional<LocalSong> record(PlayParameterBytes storedPlayParameters) const {
        if (!hasRecord()) {
            return std::nullopt;
        }
        return LocalSong{
            .pk = pk,
            .identifier = *text(identifier),
            .title = *text(title),
            .duration = duration,
            .artistName = text(artistName),
            .albumTitle = text(albumTitle),
            .genre = text(genre),
            .dateAdded = SQLColumns::date(dateAdded),
            .releaseDate = SQLColumns::date(releaseDate),
            .storedPlayParameters = std::move(storedPlayParameters),
            .artworkURL = SQLColumns::url(artworkURL.data, artworkURL.size),
            .trackNumber = trackNumber,
            .order = order,
            .isPassive = isPassive == 1,
        };
    }
};

/// Holds copies of column bytes in large blocks, so that a read of many rows makes few allocations.
class Arena {
public:
    Bytes copy(Bytes bytes) {
        if (!bytes.data) {
            return bytes;
        }
        if (blocks_.empty() || blockSize_ - used_ < bytes.size) {
            // Blocks grow, so that reading a handful of rows stays small.
            blockSize_ = std::max(std::clamp(2 * blockSize_, smallestBlock, largestBlock), bytes.size);
            blocks_.push_back(std::make_unique_for_overwrite<char[]>(blockSize_));
            used_ = 0;
        }
        char* destination = blocks_.back().get() + used_;
        std::memcpy(destination, bytes.data, bytes.size);
        used_ += bytes.size;
        return {destination, bytes.size};
    }

private:
    static constexpr std::size_t smallestBlock = std::size_t{1} << 12;
    static constexpr std::size_t largestBlock = std::size_t{1} << 18;

    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockSize_ = 0;
    std::size_t used_ = 0;
};

/// The play parameters of `rows`, copied into one block that their records share: one allocation per slice
/// rather than one per song.
std::vector<PlayParameterBytes> sharedPlayParameters(const std::vector<Row>& rows) {
    std::size_t total = 0;
    for (const auto& row : rows) {
        total += row.hasRecord() ? row.playParameters.size : 0;
    }
    std::shared_ptr<std::uint8_t[]> block = std::make_shared_for_overwrite<std::uint8_t[]>(total);
    std::vector<PlayParameterBytes> shared;
    shared.reserve(rows.size());
    std::size_t used = 0;
    for (const auto& row : rows) {
        const auto bytes = row.hasRecord() ? row.playParameterBytes() : std::span<const std::uint8_t>();
        std::copy(bytes.begin(), bytes.end(), block.get() + used);
        shared.emplace_back(block, std::span<const std::uint8_t>(block.get() + used, bytes.size()));
        used += bytes.size();
    }
    return shared;
}

} // namespace

/// A run of rows, their copied bytes, and once decoded, their records.
class SongRows::Slice {
public:
    bool isFull() const { return rows_.size() == rowsPerSlice; }

    void append(sqlite3_stmt* statement) {
        rows_.push_back(Row::read(statement, [this](Bytes bytes) { return arena_.copy(bytes); }));
    }

    /// Runs on the slice's own thread; a failure is kept for the reader.
    void decode() {
        try {
            records_.reserve(rows_.size());
            auto playParameters = sharedPlayParameters(rows_);
            for (std::size_t index = 0; index < rows_.size(); ++index) {
                if (auto record = rows_[index].record(std::move(playParameters[index]))) {
                    records_.push_back(std::move(*record));
                }
            }
            rows_ = {};
            arena_ = {};
        } catch (...) {
            failure_ = std::current_exception();
        }
    }

    std::vector<LocalSong> takeRecords() {
        if (failure_) {
            std::rethrow_exception(failure_);
        }
        return std::move(records_);
    }

private:
    std::vector<Row> rows_;
    Arena arena_;
    std::vector<LocalSong> records_;
    std::exception_ptr failure_;
};

SongRows::SongRows() = default;

SongRows::~SongRows() = default;

void SongRows::append(sqlite3_stmt* statement) {
    if (slices_.empty() || slices_.back()->isFull()) {
        if (!slices_.empty()) {
            startDecoding(*slices_.back());
        }
        slices_.push_back(std::make_unique<Slice>());
    }
    slices_.back()->append(statement);
}

void SongRows::startDecoding(Slice& slice) {
    // One thread keeps reading; the others decode.
    const std::size_t decoderLimit = std::max(2u, std::thread::hardware_concurrency()) - 1;
    if (decoders_.size() == decoderLimit) {
        decoders_.pop_front();
    }
    decoders_.emplace_back([&slice] { slice.decode(); });
}

RecordSlices<LocalSong> SongRows::records() {
    if (!slices_.empty()) {
        slices_.back()->decode();
    }
    decoders_.clear();
    RecordSlices<LocalSong> records;
    records.reserve(slices_.size());
    for (const auto& slice : slices_) {
        records.push_back(slice->takeRecords());
    }
    return records;
}

std::optional<LocalSong> SongRows::record(sqlite3_stmt* statement) {
    const auto row = Row::read(statement, [](Bytes bytes) { return bytes; });
    return row.hasRecord() ? row.record(PlayParameterBytes::copying(row.playParameterBytes())) : std::nullopt;
}

std::optional<StoredTrackMetadata> SongRows::trackMetadata(sqlite3_stmt* statement) {
    const auto row = Row::read(statement, [](Bytes bytes) { return bytes; });
    if (!row.hasRecord()) {
        return std::nullopt;
    }
    return StoredTrackMetadata{row.pk, *text(row.identifier), text(row.albumTitle), row.trackNumber};
}

} // namespace MarrowbellCore
