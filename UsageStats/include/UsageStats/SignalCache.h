#pragma once

#include "UsageStats/LogHandler.h"
#include "UsageStats/SignalPostBody.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace UsageStats {

/// The waiting signals, oldest first, and the batches taken out for upload and not yet settled.
/// The file mirrors both: it is read once at construction and replaced atomically by `save`; nothing
/// deletes it. Holds at most `capacity` signals and drops the oldest beyond that, with a log line.
/// Safe to use from any thread.
class SignalCache {
public:
    static constexpr const char* fileName = "usagestatssignalcache";
    static constexpr std::size_t maximumNumberOfSignalsToPopAtOnce = 100;
    static constexpr std::size_t defaultCapacity = 1000;

    struct Batch {
        std::uint64_t id = 0;
        std::vector<SignalPostBody> signals;
    };

    /// Loads the file when `file` is not empty; an empty path keeps the cache in memory only.
    SignalCache(std::filesystem::path file, std::optional<LogHandler> logHandler,
                std::size_t capacity = defaultCapacity);

    const std::filesystem::path& file() const { return file_; }

    void add(SignalPostBody signal);
    /// The waiting signals, not counting batches in flight.
    std::size_t count() const;
    std::vector<SignalPostBody> waitingSignals() const;

    /// Takes up to `limit` (at most 100) signals off the front; they stay in the file until settled.
    Batch popBatch(std::size_t limit = maximumNumberOfSignalsToPopAtOnce);
    /// The batch was delivered (or given up): it leaves the cache for good.
    void completeBatch(std::uint64_t batchID);
    /// The batch failed: back at the end, behind the signals that arrived meanwhile.
    void returnBatchToEnd(std::uint64_t batchID);
    /// The batch is to be retried first (split in smaller batches).
    void returnBatchToFront(std::uint64_t batchID);
    /// Every batch in flight goes back to the end, in the order they were taken.
    void returnBatchesInFlight();

    /// Writes waiting signals and batches in flight to the file, atomically, and reports the size at
    /// `reportLevel`. Returns false (with a log line) when that fails; memory is kept either way.
    bool save(LogLevel reportLevel = LogLevel::debug);

private:
    void load();
    void dropOldestBeyondCapacity();
    std::vector<SignalPostBody> takeInFlight(std::uint64_t batchID);

    const std::filesystem::path file_;
    const std::optional<LogHandler> logHandler_;
    const std::size_t capacity_;

    mutable std::mutex mutex_;
    std::vector<SignalPostBody> cachedSignals_;
    std::map<std::uint64_t, std::vector<SignalPostBody>> inFlight_;
    std::uint64_t nextBatchID_ = 1;

    std::mutex saveMutex_;
};

} // namespace UsageStats
