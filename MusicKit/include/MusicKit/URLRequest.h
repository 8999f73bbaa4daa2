#pragma once

#include <Foundation/URL.h>
#include <string>
#include <utility>

namespace MusicKit {

/// One HTTP request to the music service: no headers of its own and no body.
struct URLRequest {
    explicit URLRequest(Foundation::URL requestURL, double timeout = 60.0)
        : url(std::move(requestURL))
        , timeoutInterval(timeout) {}

    Foundation::URL url;
    std::string httpMethod = "GET";
    /// Seconds the whole exchange may take.
    double timeoutInterval;
};

} // namespace MusicKit
