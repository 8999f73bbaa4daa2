#include "UsageStats/SignalCache.h"

#include "AtomicFile.h"

#include <algorithm>

namespace UsageStats {

SignalCache::SignalCache(std::filesystem::path file, std::optional<LogHandler> logHandler,
                         std::size_t capacity)
    : file_(std::move(file))
    , logHandler_(std::move(logHandler))
    , capacity_(capacity) {
    load();
}

void SignalCache::load() {
    if (file_.empty()) {
        return;
    }
    log(logHandler_, LogLevel::info, "Loading UsageStats cache from: " + file_.string());
    const auto contents = AtomicFile::read(file_);
    if (!contents) {
        return;
    }
    try {
        auto signals = decodeSignalsFromCache(*contents);
        log(logHandler_, LogLevel::info, "Loaded " + std::to_string(signals.size()) + " signals");
        std::lock_guard lock(mutex_);
        cachedSignals_ = std::move(signals);
        dropOldestBeyondCapacity();
    } catch (const SignalDecodingError& error) {
        // The damaged file stays until the next save replaces it.
        log(logHandler_, LogLevel::error,
            "Could not read UsageStats cache, starting empty: " + std::string(error.what()));
    }
}

void SignalCache::add(SignalPostBody signal) {
    std::lock_guard lock(mutex_);
    cachedSignals_.push_back(std::move(signal));
    dropOldestBeyondCapacity();
}

std::size_t SignalCache::count() const {
    std::lock_guard lock(mutex_);
    return cachedSignals_.size();
}

std::vector<SignalPostBody> SignalCache::waitingSignals() const {
    std::lock_guard lock(mutex_);
    return cachedSignals_;
}

SignalCache::Batch SignalCache::popBatch(std::size_t limit) {
    std::lock_guard lock(mutex_);
    const auto size = std::min({limit, maximumNumberOfSignalsToPopAtOnce, cachedSignals_.size()});
    if (size == 0) {
        return {};
    }
    Batch batch{nextBatchID_++, {}};
    const auto end = cachedSignals_.begin() + static_cast<std::ptrdiff_t>(size);
    batch.signals.assign(std::make_move_iterator(cachedSignals_.begin()), std::make_move_iterator(end));
    cachedSignals_.erase(cachedSignals_.begin(), end);
    inFlight_.emplace(batch.id, batch.signals);
    return batch;
}

std::vector<SignalPostBody> SignalCache::takeInFlight(std::uint64_t batchID) {
    const auto found = inFlight_.find(batchID);
    if (found == inFlight_.end()) {
        return {};
    }
    auto signals = std::move(found->second);
    inFlight_.erase(found);
    return signals;
}

void SignalCache::completeBatch(std::uint64_t batchID) {
    std::lock_guard lock(mutex_);
    takeInFlight(batchID);
}

void SignalCache::returnBatchToEnd(std::uint64_t batchID) {
    std::lock_guard lock(mutex_);
    auto signals = takeInFlight(batchID);
    cachedSignals_.insert(cachedSignals_.end(), std::make_move_iterator(signals.begin()),
                          std::make_move_iterator(signals.end()));
    dropOldestBeyondCapacity();
}

void SignalCache::returnBatchToFront(std::uint64_t batchID) {
    std::lock_guard lock(mutex_);
    auto signals = takeInFlight(batchID);
    cachedSignals_.insert(cachedSignals_.begin(), std::make_move_iterator(signals.begin()),
                          std::make_move_iterator(signals.end()));
}

void SignalCache::returnBatchesInFlight() {
    std::lock_guard lock(mutex_);
    for (auto& [batchID, signals] : inFlight_) {
        cachedSignals_.insert(cachedSignals_.end(), std::make_move_iterator(signals.begin()),
                              std::make_move_iterator(signals.end()));
    }
    inFlight_.clear();
}

void SignalCache::dropOldestBeyondCapacity() {
    std::size_t total = cachedSignals_.size();
    for (const auto& [batchID, signals] : inFlight_) {
        total += signals.size();
    }
    if (total <= capacity_) {
        return;
    }
    const auto excess = std::min(total - capacity_, cachedSignals_.size());
    cachedSignals_.erase(cachedSignals_.begin(),
                         cachedSignals_.begin() + static_cast<std::ptrdiff_t>(excess));
    log(logHandler_, LogLevel::error,
        "UsageStats cache is full: dropped the " + std::to_string(excess) + " oldest signals");
}

bool SignalCache::save(LogLevel reportLevel) {
    if (file_.empty()) {
        return false;
    }
    // Holding the save lock while taking the snapshot keeps a newer snapshot from being overwritten by
    // an older one.
    std::lock_guard saveLock(saveMutex_);
    std::vector<SignalPostBody> snapshot;
    {
        std::lock_guard lock(mutex_);
        snapshot = cachedSignals_;
        for (const auto& [batchID, signals] : inFlight_) {
            snapshot.insert(snapshot.end(), signals.begin(), signals.end());
        }
    }
    const std::string data = encodeSignalsForCache(snapshot);
    try {
        AtomicFile::write(file_, data);
    } catch (const std::exception& error) {
        log(logHandler_, LogLevel::error, "Error saving UsageStats cache");
        log(logHandler_, LogLevel::debug, error.what());
        return false;
    }
    log(logHandler_, reportLevel,
        "Saved UsageStats cache " + std::to_string(data.size()) + " bytes of " +
            std::to_string(snapshot.size()) + " signals");
    return true;
}

} // namespace UsageStats
