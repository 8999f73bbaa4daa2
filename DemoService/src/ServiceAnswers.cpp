#include "ServiceAnswers.h"

#include <Foundation/JSONText.h>
#include <Foundation/UUID.h>

namespace DemoService {
namespace {

/// The title the service gives an error status.
std::string_view errorTitle(int status) {
    switch (status) {
    case 400:
        return "Invalid Parameter Value";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Resource Not Found";
    case 429:
        return "Too Many Requests";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Request Failed";
    }
}

} // namespace

std::string errorBody(int status, std::int64_t code, std::string_view detail) {
    using Foundation::jsonQuoted;
    return "{\"errors\":[{\"id\":" + jsonQuoted(Foundation::makeUUIDString()) +
           ",\"title\":" + jsonQuoted(errorTitle(status)) + ",\"detail\":" + jsonQuoted(detail) +
           ",\"status\":\"" + std::to_string(status) + "\",\"code\":\"" + std::to_string(code) + "\"}]}";
}

std::string targetWithOffset(std::string_view target, std::size_t offset) {
    const auto queryStart = target.find('?');
    std::string result(target.substr(0, queryStart));
    const std::string offsetParameter = "offset=" + std::to_string(offset);
    bool replaced = false;
    char separator = '?';
    std::string_view query =
        queryStart == std::string_view::npos ? std::string_view{} : target.substr(queryStart + 1);
    while (!query.empty()) {
        const auto end = query.find('&');
        const std::string_view parameter = query.substr(0, end);
        result += separator;
        if (parameter.starts_with("offset=") || parameter == "offset") {
            result += offsetParameter;
            replaced = true;
        } else {
            result += parameter;
        }
        separator = '&';
        query = end == std::string_view::npos ? std::string_view{} : query.substr(end + 1);
    }
    if (!replaced) {
        result += separator + offsetParameter;
    }
    return result;
}

} // namespace DemoService
