#pragma once

#include "MusicKit/URLRequest.h"

#include <cstdint>
#include <stdexcept>
#include <stop_token>
#include <string>

namespace MusicKit {

/// The answer to a successful request.
struct MusicDataResponse {
    /// The body bytes.
    std::string data;
    long statusCode = 0;
};

/// Sends a URL request to the music service of the current ServiceConfiguration with the service's
/// authorization added: the developer token as "Authorization: Bearer" and the user token as
/// "Music-User-Token". TLS peers are verified.
class MusicDataRequest {
public:
    /// The service answered with a status outside 2xx. `code` is the integer code of the first
    /// entry of the answer's "errors" list (0 when the body has none), `title` its title.
    class Error : public std::runtime_error {
    public:
        Error(std::int64_t code, long status, std::string title);

        std::int64_t code() const { return code_; }
        long status() const { return status_; }
        const std::string& title() const { return title_; }

    private:
        std::int64_t code_;
        long status_;
        std::string title_;
    };

    explicit MusicDataRequest(URLRequest urlRequest)
        : urlRequest_(std::move(urlRequest)) {}

    /// Blocks until the answer is complete. Throws Error for an error answer, URLError when no
    /// complete answer arrived (time-outs included), ServiceConfigurationError when no service is
    /// configured and Foundation::CancellationError as soon as `stopToken` asks to stop.
    MusicDataResponse response(std::stop_token stopToken = {}) const;

private:
    URLRequest urlRequest_;
};

} // namespace MusicKit
