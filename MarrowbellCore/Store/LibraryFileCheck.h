#pragma once

#include "MarrowbellCore/Store/SQLError.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

namespace MarrowbellCore {

/// The check of every page of an existing library file (SQLite's quick check), run on a read-only connection
/// and a thread of its own, so that reads need not wait for it; writes wait for its outcome instead.
/// Thread-safe. Until `start`, there is nothing to wait for.
class LibraryFileCheck {
public:
    using FailureHandler = std::function<void(const SQLError&)>;

    LibraryFileCheck() = default;
    /// Stops a check under way.
    ~LibraryFileCheck();
    LibraryFileCheck(const LibraryFileCheck&) = delete;
    LibraryFileCheck& operator=(const LibraryFileCheck&) = delete;

    /// Starts checking the file at `path`. `onFailure(error)` runs on the check's thread when the file fails
    /// the check (kind `damaged`) or cannot be checked.
    void start(const std::string& path, FailureHandler onFailure);

    /// Waits up to `timeout` for the outcome: the failure, or nothing when the file passed or no check was
    /// started. Throws Foundation::CancellationError when `stopToken` is stopped first, and SQLError when
    /// the time runs out or the check was stopped.
    std::optional<SQLError> wait(const std::stop_token& stopToken, std::chrono::milliseconds timeout);

    /// Whether nothing may be written back into the file: its check was started and has not passed.
    bool leavesFileUnconfirmed() const;

    /// Interrupts a check under way and waits for its thread; the file then stays unconfirmed.
    void stop();

private:
    enum class State { notStarted, running, passed, failed, stopped };

    void run(const std::stop_token& stopToken, const FailureHandler& onFailure);

    std::string path_;
    mutable std::mutex mutex_;
    std::condition_variable_any finished_;
    State state_ = State::notStarted;
    std::optional<SQLError> failure_;
    std::jthread thread_;
};

} // namespace MarrowbellCore
