#pragma once

#include <QFile>
#include <QString>
#include <QThreadPool>
#include <chrono>
#include <filesystem>

// Moves a cache file's modification date, and waits (bounded) for the caches' date refreshes.
namespace CacheFileDates {

inline std::filesystem::path nativePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

inline void setAge(const QString& path, std::chrono::seconds age) {
    std::filesystem::last_write_time(nativePath(path), std::filesystem::file_time_type::clock::now() - age);
}

inline std::chrono::seconds age(const QString& path) {
    return std::chrono::duration_cast<std::chrono::seconds>(
        std::filesystem::file_time_type::clock::now() - std::filesystem::last_write_time(nativePath(path)));
}

inline bool waitForDateRefreshes() {
    return QThreadPool::globalInstance()->waitForDone(5000);
}

} // namespace CacheFileDates
