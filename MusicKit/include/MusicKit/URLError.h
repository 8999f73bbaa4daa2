#pragma once

#include <stdexcept>
#include <string>

namespace MusicKit {

/// A request that got no complete answer from the service: there was no network (its name did not resolve,
/// or no route or network led to it), the service's host refused the connection, it timed out, lost its
/// connection or failed the TLS checks.
class URLError : public std::runtime_error {
public:
    enum class Code {
        timedOut,
        notConnectedToInternet,
        cannotConnectToHost,
        networkConnectionLost,
        secureConnectionFailed,
        unknown
    };

    URLError(Code code, const std::string& message)
        : std::runtime_error(message)
        , code_(code) {}

    Code code() const { return code_; }

private:
    Code code_;
};

} // namespace MusicKit
