#include "UsageStats/UsageStatsError.h"

namespace UsageStats {

std::optional<UsageStatsError> UsageStatsError::fromStatusCode(std::int64_t statusCode) {
    if (statusCode >= 200 && statusCode <= 299) {
        return std::nullopt;
    }
    switch (statusCode) {
    case 401:
        return UsageStatsError(Kind::unauthorised, statusCode);
    case 403:
        return UsageStatsError(Kind::forbidden, statusCode);
    case 413:
        return UsageStatsError(Kind::payloadTooLarge, statusCode);
    default:
        return UsageStatsError(Kind::invalidStatusCode, statusCode);
    }
}

std::string UsageStatsError::localizedDescription() const {
    switch (kind_) {
    case Kind::invalidStatusCode:
        return "Invalid status code " + std::to_string(statusCode_);
    case Kind::unauthorised:
        return "Unauthorized (401)";
    case Kind::forbidden:
        return "Forbidden (403)";
    case Kind::payloadTooLarge:
        return "Payload is too large (413)";
    }
    return "";
}

std::string UsageStatsError::description() const {
    switch (kind_) {
    case Kind::invalidStatusCode:
        return "invalidStatusCode(statusCode: " + std::to_string(statusCode_) + ")";
    case Kind::unauthorised:
        return "unauthorised";
    case Kind::forbidden:
        return "forbidden";
    case Kind::payloadTooLarge:
        return "payloadTooLarge";
    }
    return "";
}

} // namespace UsageStats
