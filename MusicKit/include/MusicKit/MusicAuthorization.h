#pragma once

#include <exception>
#include <stop_token>

namespace MusicKit {

/// Whether the user's music service can be used with the configured tokens.
struct MusicAuthorization {
    enum class Status { notDetermined, denied, restricted, authorized };

    /// A status and, when the service refused the user or did not answer at all (authorized then), what the
    /// request failed with: a MusicDataRequest::Error or a URLError.
    struct Answer {
        Status status = Status::notDetermined;
        std::exception_ptr failure;
    };

    /// Seconds the service is given to refuse the user before it is taken to accept them.
    static constexpr double answerTimeLimit = 5.0;

    /// Asks the current service: denied when it refuses the tokens (401 or 403), not determined when no
    /// service is configured, and authorized otherwise, also when the service cannot be reached, fails or
    /// does not answer within answerTimeLimit: only the user's own access is decided here, and a
    /// service that is down is the syncs' to report. Blocks; throws Foundation::CancellationError when
    /// `stopToken` asks to stop.
    static Status request(std::stop_token stopToken = {});
    /// The same, with the refusal behind a denied status.
    static Answer requestAnswer(std::stop_token stopToken = {});
};

} // namespace MusicKit
