#pragma once

#include "TamselUIKit/CacheDirectory.h"
#include "TamselUIKit/CostLimitedMemoryTier.h"
#include "TamselUIKit/SecureArchive.h"

#include <QDir>
#include <stdexcept>

namespace TamselUIKit {

/// A two-tier cache of archived values by text key: a cost-limited memory tier (cost = archive bytes) in
/// front of one "<stored key>.dat" file per key. A read that finds only the file promotes the value into
/// memory and refreshes the file's date, so that `removeFiles(olderThan)` sweeps what was not read lately.
/// Any thread. Reads never throw; a missing, damaged or other-class file is a miss and stays on disk.
template <SecureCodable T> class InMemoryDiskBackedSecureCodedCache {
public:
    static constexpr qsizetype defaultMemoryCostLimit = 16 * 1024 * 1024;

    /// The directory is `name` inside the user's cache folder.
    InMemoryDiskBackedSecureCodedCache(const QString& name, bool shouldHashKeys,
                                       qsizetype memoryCostLimit = defaultMemoryCostLimit)
        : InMemoryDiskBackedSecureCodedCache(QDir(CacheDirectory::pathInUserCache(name)), shouldHashKeys,
                                             memoryCostLimit) {}

    InMemoryDiskBackedSecureCodedCache(const QDir& cacheDirectory, bool shouldHashKeys,
                                       qsizetype memoryCostLimit = defaultMemoryCostLimit)
        : memory_(memoryCostLimit)
        , directory_(cacheDirectory.absolutePath(), shouldHashKeys, QStringLiteral(".dat"),
                     QStringLiteral("data cache")) {}

    QString cacheDirectory() const { return directory_.path(); }
    bool shouldHashKeys() const { return directory_.shouldHashKeys(); }

    std::optional<T> object(const QString& key) {
        const std::optional<QString> stored = directory_.storedKey(key);
        if (!stored) {
            return std::nullopt;
        }
        if (std::optional<T> inMemory = memory_.value(*stored)) {
            return inMemory;
        }
        const std::optional<QByteArray> bytes = directory_.read(*stored);
        std::optional<T> value = bytes ? SecureArchive::unarchived<T>(*bytes) : std::nullopt;
        if (value) {
            memory_.insert(*stored, *value, bytes->size());
            directory_.refreshModificationDateLater(*stored);
        }
        return value;
    }

    /// Keeps the value in memory even when writing its file throws CacheFileError; an unhashed key that is
    /// not a plain file name throws std::invalid_argument and stores nothing.
    void setObject(const T& value, const QString& key) {
        const QString stored = storedKeyOrThrow(key);
        const QByteArray bytes = SecureArchive::archived(value);
        memory_.insert(stored, value, bytes.size());
        directory_.write(stored, bytes);
    }

    void removeObject(const QString& key) {
        if (const std::optional<QString> stored = directory_.storedKey(key)) {
            memory_.remove(*stored);
            directory_.remove(*stored);
        }
    }

    void removeAllFromMemory() { memory_.clear(); }

    void removeFiles(double olderThanSeconds) { directory_.removeFiles(olderThanSeconds); }

private:
    QString storedKeyOrThrow(const QString& key) const {
        if (std::optional<QString> stored = directory_.storedKey(key)) {
            return *stored;
        }
        throw std::invalid_argument("cache key is not a plain file name");
    }

    CostLimitedMemoryTier<T> memory_;
    CacheDirectory directory_;
};

} // namespace TamselUIKit
