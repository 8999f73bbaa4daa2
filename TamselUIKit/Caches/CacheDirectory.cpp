#include "TamselUIKit/CacheDirectory.h"

#include "TamselUIKit/CacheKey.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThreadPool>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <system_error>

using namespace Qt::StringLiterals;

namespace TamselUIKit {
namespace {

bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar());
}

std::filesystem::path nativePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QDateTime dateForAge(const QFileInfo& entry) {
    const QDateTime modified = entry.lastModified();
    return modified.isValid() ? modified : entry.birthTime();
}

} // namespace

CacheDirectory::CacheDirectory(QString path, bool shouldHashKeys, QString fileSuffix, QString cacheKind)
    : path_(std::move(path))
    , shouldHashKeys_(shouldHashKeys)
    , fileSuffix_(std::move(fileSuffix))
    , cacheKind_(std::move(cacheKind)) {
    QDir().mkpath(path_);
}

QString CacheDirectory::pathInUserCache(const QString& name) {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + u'/' + name;
}

std::optional<QString> CacheDirectory::storedKey(const QString& key) const {
    QString stored = cacheKey(key, shouldHashKeys_);
    if (!isPlainFileName(stored)) {
        return std::nullopt;
    }
    return stored;
}

QString CacheDirectory::filePath(const QString& storedKey) const {
    return path_ + u'/' + storedKey + fileSuffix_;
}

std::optional<QByteArray> CacheDirectory::read(const QString& storedKey) const {
    QFile file(filePath(storedKey));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return bytes;
}

// Written beside the target and renamed over it, without syncing to disk: a cache can lose a file in a
// power cut (a damaged file reads as a miss), and a sync per write would make filling it many times slower.
void CacheDirectory::write(const QString& storedKey, const QByteArray& bytes) const {
    const QString target = filePath(storedKey);
    QTemporaryFile file(target + u".XXXXXX"_s);
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush()) {
        throw CacheFileError(file.errorString().toStdString());
    }
    std::error_code error;
    std::filesystem::rename(nativePath(file.fileName()), nativePath(target), error);
    if (error) {
        throw CacheFileError(error.message());
    }
    file.setAutoRemove(false);
}

void CacheDirectory::remove(const QString& storedKey) const {
    QFile::remove(filePath(storedKey));
}

void CacheDirectory::refreshModificationDateLater(const QString& storedKey) const {
    QThreadPool::globalInstance()->start([path = nativePath(filePath(storedKey)), kind = cacheKind_] {
        std::error_code error;
        std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now(), error);
        if (error) {
            std::cout << "Failed to update modification date for " << kind.toStdString() << ": "
                      << error.message() << std::endl;
        }
    });
}

void CacheDirectory::removeFiles(double olderThanSeconds) const {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QFileInfoList entries =
        QDir(path_).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    for (const QFileInfo& entry : entries) {
        const QDateTime date = dateForAge(entry);
        if (!date.isValid()) {
            continue;
        }
        const double ageSeconds = std::abs(double(date.msecsTo(now))) / 1000.0;
        if (ageSeconds > olderThanSeconds) {
            std::error_code ignored;
            std::filesystem::remove_all(nativePath(entry.filePath()), ignored);
        }
    }
}

} // namespace TamselUIKit
