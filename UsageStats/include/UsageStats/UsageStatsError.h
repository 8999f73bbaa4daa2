#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace UsageStats {

/// Why the service refused an upload.
class UsageStatsError {
public:
    enum class Kind { invalidStatusCode, unauthorised, forbidden, payloadTooLarge };

    /// Nothing for 200 to 299, otherwise the matching case (0 stands for a reply that is not HTTP).
    static std::optional<UsageStatsError> fromStatusCode(std::int64_t statusCode);

    Kind kind() const { return kind_; }
    std::int64_t statusCode() const { return statusCode_; }
    /// "Invalid status code 500", "Unauthorized (401)", "Forbidden (403)", "Payload is too large (413)".
    std::string localizedDescription() const;
    /// The form the log shows: "invalidStatusCode(statusCode: 500)", "unauthorised", ...
    std::string description() const;

private:
    UsageStatsError(Kind kind, std::int64_t statusCode)
        : kind_(kind)
        , statusCode_(statusCode) {}

    Kind kind_;
    std::int64_t statusCode_;
};

} // namespace UsageStats
