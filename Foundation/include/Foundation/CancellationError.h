#pragma once

#include <stdexcept>
#include <stop_token>

namespace Foundation {

/// Thrown by an operation whose caller asked it to stop (through its std::stop_token).
class CancellationError : public std::runtime_error {
public:
    CancellationError()
        : std::runtime_error("The operation was cancelled.") {}
};

/// A cancellation checkpoint: throws CancellationError when a stop has been requested.
inline void checkCancellation(const std::stop_token& token) {
    if (token.stop_requested()) {
        throw CancellationError();
    }
}

} // namespace Foundation
