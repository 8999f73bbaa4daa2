#include "LibraryFileCheck.h"

#include "MarrowbellCore/Logging/Loggers.h"
#include "SQLDatabase.h"
#include "StoreFileFailure.h"

#include <Foundation/CancellationError.h>
#include <vector>

namespace MarrowbellCore {
namespace {

/// What is wrong with the file at `path`, or nothing when it is sound (or the check was stopped).
std::optional<SQLError> faultOf(const std::string& path, const std::stop_token& stopToken) {
    try {
        SQLDatabase connection(path, SQLDatabase::Access::readOnly);
        std::stop_callback interrupt(stopToken,
                                     [handle = connection.handle()] { sqlite3_interrupt(handle); });
        // SQLite forgets an interruption that comes before its statement starts.
        if (stopToken.stop_requested()) {
            return std::nullopt;
        }
        // Asked for one finding, SQLite gives one row: "ok" or the first fault.
        const auto findings = connection.queryTexts("PRAGMA quick_check(1)");
        if (findings == std::vector<std::string>{"ok"}) {
            return std::nullopt;
        }
        Loggers::store().error("The library file failed its check: %@",
                               {findings.empty() ? std::string() : findings.front()});
        return storeFileError(SQLITE_CORRUPT, sqlite3_errstr(SQLITE_CORRUPT), path);
    } catch (const SQLError& error) {
        return error;
    }
}

} // namespace

LibraryFileCheck::~LibraryFileCheck() {
    stop();
}

void LibraryFileCheck::start(const std::string& path, FailureHandler onFailure) {
    std::lock_guard lock(mutex_);
    path_ = path;
    state_ = State::running;
    thread_ = std::jthread([this, onFailure = std::move(onFailure)](const std::stop_token& stopToken) {
        run(stopToken, onFailure);
    });
}

void LibraryFileCheck::run(const std::stop_token& stopToken, const FailureHandler& onFailure) {
    const auto failure = faultOf(path_, stopToken);
    // A stopped check may have been cut short: what it found says nothing about the file.
    const State outcome = stopToken.stop_requested() ? State::stopped
                          : failure                  ? State::failed
                                                     : State::passed;
    {
        std::lock_guard lock(mutex_);
        state_ = outcome;
        if (outcome == State::failed) {
            failure_ = failure;
        }
    }
    finished_.notify_all();
    if (outcome == State::failed) {
        onFailure(*failure);
    }
}

std::optional<SQLError> LibraryFileCheck::wait(const std::stop_token& stopToken,
                                               std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    const bool finished =
        finished_.wait_for(lock, stopToken, timeout, [this] { return state_ != State::running; });
    if (!finished) {
        Foundation::checkCancellation(stopToken);
        throw SQLError("The check of the library file " + path_ + " did not finish within " +
                       std::to_string(std::chrono::duration_cast<std::chrono::seconds>(timeout).count()) +
                       " seconds, so nothing was written.");
    }
    if (state_ == State::stopped) {
        throw SQLError("The library file was closed before its check ended, so nothing was written.");
    }
    return failure_;
}

bool LibraryFileCheck::leavesFileUnconfirmed() const {
    std::lock_guard lock(mutex_);
    return state_ != State::notStarted && state_ != State::passed;
}

void LibraryFileCheck::stop() {
    std::jthread thread;
    {
        std::lock_guard lock(mutex_);
        thread = std::move(thread_);
    }
    if (thread.joinable()) {
        thread.request_stop();
        thread.join();
    }
}

} // namespace MarrowbellCore
