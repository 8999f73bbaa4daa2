#pragma once

#include <QCache>
#include <QString>
#include <mutex>
#include <optional>

namespace TamselUIKit {

/// The memory tier of the kit's caches: values by stored key, the least recently used evicted once their
/// total cost passes the limit; a value costing more than the limit is not kept. Thread-safe.
template <typename Value> class CostLimitedMemoryTier {
public:
    explicit CostLimitedMemoryTier(qsizetype costLimit) { cache_.setMaxCost(costLimit); }

    std::optional<Value> value(const QString& key) {
        std::lock_guard lock(mutex_);
        if (const Value* found = cache_.object(key)) {
            return *found;
        }
        return std::nullopt;
    }

    void insert(const QString& key, Value value, qsizetype cost) {
        std::lock_guard lock(mutex_);
        cache_.insert(key, new Value(std::move(value)), cost);
    }

    void remove(const QString& key) {
        std::lock_guard lock(mutex_);
        cache_.remove(key);
    }

    void clear() {
        std::lock_guard lock(mutex_);
        cache_.clear();
    }

private:
    std::mutex mutex_;
    QCache<QString, Value> cache_;
};

} // namespace TamselUIKit
