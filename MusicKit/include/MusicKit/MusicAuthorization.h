#pragma once

#include <stop_token>

namespace MusicKit {

/// Whether the user's music service can be used with the configured tokens.
struct MusicAuthorization {
    enum class Status { notDetermined, denied, restricted, authorized };

    /// Asks the current service: authorized when it accepts the tokens, denied when it rejects them
    /// (401 or 403), not determined when no service is configured or it could not be asked.
    /// Blocks; throws Foundation::CancellationError when `stopToken` asks to stop.
    static Status request(std::stop_token stopToken = {});
};

} // namespace MusicKit
