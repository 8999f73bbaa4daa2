#pragma once

#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace MusicKit::Testing {

/// A sound server on a local socket that is slow to answer: it takes every connection, says nothing and
/// closes it after `hold`. A client opening its sound output through it waits that long and then gives up
/// on it, as with a sound server that is busy or hanging.
///
/// Serves on a thread of its own from construction to destruction; the destructor closes every connection.
class StallingSoundServer {
public:
    /// Listens at `socketPath`; throws std::system_error when it cannot.
    StallingSoundServer(std::filesystem::path socketPath, std::chrono::milliseconds hold);
    ~StallingSoundServer();
    StallingSoundServer(const StallingSoundServer&) = delete;
    StallingSoundServer& operator=(const StallingSoundServer&) = delete;

    /// The address sound clients name a server at `socketPath` by: "unix:" and the path.
    static std::string addressAt(const std::filesystem::path& socketPath);
    /// How many connections it has taken so far; any thread.
    int connectionCount() const;

private:
    struct HeldConnection {
        int socket;
        std::chrono::steady_clock::time_point closing;
    };

    void serve();
    void acceptConnection();
    /// Reads what the held connections have sent and closes those whose time is up or whose client has
    /// gone. `ready` tells, per held connection, whether it has something to read.
    void tendConnections(const std::vector<bool>& ready);
    /// Milliseconds until the next held connection is due to close, at most a second.
    int millisecondsToNextClosing() const;

    std::filesystem::path socketPath_;
    std::chrono::milliseconds hold_;
    int listener_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::vector<HeldConnection> held_;
    mutable std::mutex countMutex_;
    int connectionCount_ = 0;
    std::thread thread_;
};

} // namespace MusicKit::Testing
