#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace Marrowbell::ErrorReporting {

/// What the reports say of one error: its domain (the error type, "Foundation.DecodingError"), its code
/// within that domain and its description.
struct ReportedError {
    std::string domain;
    std::int64_t code = 0;
    std::string description;
    bool isCancellation = false;
    /// The request failed because there is no network: nothing the application could do better.
    bool isOffline = false;

    /// "Error Domain=<domain> Code=<code> "<description>"".
    std::string debugDescription() const;
    /// Whether the debug description names a decoding error, whichever type or layer it comes from.
    bool isDecodingError() const;
};

ReportedError describeError(const std::exception& error);
ReportedError describeError(const std::exception_ptr& error);

} // namespace Marrowbell::ErrorReporting
