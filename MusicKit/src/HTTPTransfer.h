#pragma once

#include "MusicKit/URLRequest.h"

#include <stop_token>
#include <string>
#include <vector>

namespace MusicKit {

struct HTTPResponse {
    long status = 0;
    std::string body;
};

/// Performs one HTTP exchange with libcurl on the calling thread, reusing that thread's connections.
/// Throws URLError when no complete answer arrives within `timeoutSeconds`, and
/// Foundation::CancellationError as soon as `stopToken` asks to stop.
HTTPResponse performHTTPRequest(const URLRequest& request, const std::vector<std::string>& headers,
                                double timeoutSeconds, std::stop_token stopToken);

} // namespace MusicKit
