#pragma once

#include "UsageStats/HttpTransport.h"

namespace UsageStats {

/// Posts with libcurl, verifying TLS peers and host names, over HTTP and HTTPS only.
class CurlTransport final : public HttpTransport {
public:
    CurlTransport();
    HttpReply post(const HttpRequest& request) override;
};

} // namespace UsageStats
