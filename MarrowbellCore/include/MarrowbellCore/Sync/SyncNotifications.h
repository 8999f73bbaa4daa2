#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace MarrowbellCore {

/// Announces finished syncs to whoever listens, in place of the platform's notification centre.
/// Thread-safe. Observers run on the posting thread (a sync's worker thread); an application that
/// updates its windows from them forwards the call to its GUI thread. An observer may add or remove
/// observers; that takes effect from the next posting.
class SyncNotificationCenter {
public:
    using Observer = std::function<void(const std::string& name)>;
    using ObserverID = std::uint64_t;

    static SyncNotificationCenter& defaultCenter();

    /// Calls `observer` for every posting of `name`.
    ObserverID addObserver(std::string name, Observer observer);
    void removeObserver(ObserverID id);
    void post(const std::string& name);

private:
    struct Registration {
        ObserverID id;
        std::string name;
        Observer observer;
    };

    std::mutex mutex_;
    std::vector<Registration> registrations_;
    ObserverID nextID_ = 1;
};

/// The names posted when a sync of the library's items has been stored.
struct SyncNotification {
    static constexpr const char* playlistSyncCompleted = "playlistSyncCompleted";
    static constexpr const char* albumSyncCompleted = "albumSyncCompleted";
    static constexpr const char* artistSyncCompleted = "artistSyncCompleted";
    /// The songs are stored and the album and artist song lists rebuilt.
    static constexpr const char* songSyncCompleted = "songSyncCompleted";
};

} // namespace MarrowbellCore
