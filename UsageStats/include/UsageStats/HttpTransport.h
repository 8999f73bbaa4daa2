#pragma once

#include <chrono>
#include <optional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

namespace UsageStats {

struct HttpRequest {
    std::string url;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::chrono::seconds timeout{60};
    /// Ends the request early when stop is requested; its reply is then a transport error.
    std::stop_token stopToken = {};
};

/// The outcome of one request: a transport error, or a status code with its body. A reply that holds
/// neither is possible from a faulty transport and counts as a failure.
struct HttpReply {
    std::optional<std::string> transportError;
    std::optional<long> statusCode;
    std::string body;
};

/// Carries the uploads. `post` blocks until the reply, the request's timeout or a stop requested through its
/// `stopToken` (soon after the request, so that quitting need not wait), and may be called from any thread.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    virtual HttpReply post(const HttpRequest& request) = 0;
};

} // namespace UsageStats
