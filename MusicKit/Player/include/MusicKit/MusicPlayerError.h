#pragma once

#include <stdexcept>
#include <string>

namespace MusicKit {

/// Why the application player could not do what it was asked. Failures of the service's requests
/// reach the caller as the request's own errors (MusicDataRequest::Error, URLError) instead.
class MusicPlayerError : public std::runtime_error {
public:
    enum class Code {
        /// Nothing to play: the queue is empty.
        emptyQueue = 1,
        /// A skip past either end of the queue without repeat.
        noNextEntry = 2,
        noPreviousEntry = 3,
        /// The audio could not be fetched or decoded, or did not load in time.
        mediaFailed = 4,
    };

    MusicPlayerError(Code code, const std::string& message)
        : std::runtime_error(message)
        , code_(code) {}

    Code code() const { return code_; }

private:
    Code code_;
};

} // namespace MusicKit
