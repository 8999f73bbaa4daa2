#include "StoreFileFailure.h"

#include <cerrno>
#include <filesystem>
#include <sqlite3.h>
#include <unistd.h>

namespace MarrowbellCore {

namespace {

/// Whether the file or folder exists but may not be written; a missing one is another fault.
bool existsUnwritable(const std::filesystem::path& path) {
    return access(path.c_str(), W_OK) != 0 && (errno == EACCES || errno == EPERM || errno == EROFS);
}

} // namespace

std::optional<std::string> unwritableReason(const std::string& path) {
    const std::filesystem::path file(path);
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    // Beside the file SQLite keeps its write-ahead log and shared-memory index, so a folder it cannot write
    // into makes even a writable file unusable.
    if (existsUnwritable(folder)) {
        return "The folder " + folder.string() + " is not writable, so the library file " +
               file.filename().string() + " in it cannot be used";
    }
    if (existsUnwritable(file)) {
        return "The library file " + path + " is not writable";
    }
    return std::nullopt;
}

SQLError storeFileError(int code, const std::string& message, const std::string& path) {
    switch (code & 0xff) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return SQLError("The library file " + path + " is damaged (" + message + ").",
                        SQLError::Kind::damaged);
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
    case SQLITE_PERM:
        if (auto reason = unwritableReason(path)) {
            return SQLError(*reason + " (" + message + ").", SQLError::Kind::notWritable);
        }
        break;
    default:
        break;
    }
    return SQLError(message);
}

} // namespace MarrowbellCore
