#pragma once

#include <exception>
#include <stop_token>

namespace MusicKit {

/// Whether the user's music service can be used with the configured tokens.
struct MusicAuthorization {
    enum class Status { notDetermined, denied, restricted, authorized };

    /// A status and, when the service was asked and did not accept, why: the request's
    /// MusicDataRequest::Error (the service answered) or URLError (it could not be reached or did not
    /// answer in time).
    struct Answer {
        Status status = Status::notDetermined;
        std::exception_ptr failure;
    };

    /// Asks the current service: authorized when it accepts the tokens, denied when it rejects them
    /// (401 or 403), not determined when no service is configured or it could not be asked.
    /// Blocks; throws Foundation::CancellationError when `stopToken` asks to stop.
    static Status request(std::stop_token stopToken = {});
    /// The same, with the failure behind a status other than authorized.
    static Answer requestAnswer(std::stop_token stopToken = {});
};

} // namespace MusicKit
