#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <stdexcept>

namespace TamselUIKit {

/// A cache file could not be written; the message is the file system's.
class CacheFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The disk tier of the kit's caches: one file per stored key in one directory. Any thread; writes replace
/// a file atomically, so a reader sees the old file or the new one, never a part.
class CacheDirectory {
public:
    /// Creates the directory (with its parents); a failure is not reported: reads then miss, writes throw.
    /// `fileSuffix` is appended to every stored key (".dat"); `cacheKind` names the cache in messages.
    CacheDirectory(QString path, bool shouldHashKeys, QString fileSuffix, QString cacheKind);

    /// `name` inside the application's folder of the user's cache folder ($XDG_CACHE_HOME honoured).
    static QString pathInUserCache(const QString& name);

    const QString& path() const { return path_; }
    bool shouldHashKeys() const { return shouldHashKeys_; }

    /// The stored key of `key`, or nothing when an unhashed key is not a plain file name (empty, ".",
    /// "..", or holding '/' or NUL) and so could reach outside the directory.
    std::optional<QString> storedKey(const QString& key) const;
    QString filePath(const QString& storedKey) const;

    /// The file's bytes, or nothing when it cannot be read.
    std::optional<QByteArray> read(const QString& storedKey) const;
    /// Throws CacheFileError.
    void write(const QString& storedKey, const QByteArray& bytes) const;
    /// Ignores every failure, a missing file included.
    void remove(const QString& storedKey) const;

    /// Sets the file's modification date to now on a pool thread, so that a file that is read survives
    /// age sweeps; a failure prints one line on standard output. Returns at once.
    void refreshModificationDateLater(const QString& storedKey) const;

    /// Deletes every non-hidden entry whose modification date (else creation date) is more than `seconds`
    /// away from now, in either direction; entries without a readable date stay. Ignores every failure.
    void removeFiles(double olderThanSeconds) const;

private:
    QString path_;
    bool shouldHashKeys_;
    QString fileSuffix_;
    QString cacheKind_;
};

} // namespace TamselUIKit
