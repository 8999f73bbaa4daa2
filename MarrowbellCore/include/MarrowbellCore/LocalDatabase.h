#pragma once

#include "MarrowbellCore/LocalSong.h"
#include "MarrowbellCore/RemotePlayParameters.h"

#include <MusicKit/PlayParameters.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct sqlite3_stmt;

namespace MarrowbellCore {

class SQLDatabase;

/// The store of the user's library: the one owner of the `local.db` connection.
/// Every operation runs alone (a lock serialises them), so it is safe to call from any thread.
/// Failures throw SQLError.
class LocalDatabase {
public:
    /// Opens or creates the file. Throws SQLError "Failed to open database".
    explicit LocalDatabase(std::string path);
    ~LocalDatabase();
    LocalDatabase(const LocalDatabase&) = delete;
    LocalDatabase& operator=(const LocalDatabase&) = delete;

    const std::string& path() const { return path_; }
    bool isOpen() const;

    /// Creates the schema; does nothing once it has succeeded.
    void open();
    /// Closes the connection. The store is not used afterwards.
    void close();

    /// Runs `work` on the connection with the store's lock held, so it runs alone like every operation.
    template <class Work>
    auto withConnection(Work&& work) {
        std::lock_guard lock(mutex_);
        return work(*db_);
    }

    /// Decodes a statement positioned on a Songs row (its 14 columns in table order); nothing when the
    /// identifier or title is NULL.
    static std::optional<LocalSong> songRow(sqlite3_stmt* statement);
    /// The binary property list of `parameters`, or nothing (logged) when it cannot be encoded.
    static std::optional<std::vector<std::uint8_t>> encodePlayParameters(const MusicKit::PlayParameters& parameters);
    static std::optional<MusicKit::PlayParameters> decodePlayParameters(
        const std::optional<std::vector<std::uint8_t>>& bytes);
    static std::optional<RemotePlayParameters> decodeRemotePlayParameters(
        const std::optional<std::vector<std::uint8_t>>& bytes);

private:
    std::string path_;
    std::unique_ptr<SQLDatabase> db_;
    bool isOpen_ = false;
    mutable std::recursive_mutex mutex_;
};

} // namespace MarrowbellCore
