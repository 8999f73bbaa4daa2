#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace UsageStats {

struct HttpRequest {
    std::string url;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::chrono::seconds timeout{60};
};

/// The outcome of one request: a transport error, or a status code with its body. A reply that holds
/// neither is possible from a faulty transport and counts as a failure.
struct HttpReply {
    std::optional<std::string> transportError;
    std::optional<long> statusCode;
    std::string body;
};

/// Carries the uploads. `post` blocks until the reply or the request's timeout and may be called from any
/// thread.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    virtual HttpReply post(const HttpRequest& request) = 0;
};

} // namespace UsageStats
