#include "MusicKit/MusicDataRequest.h"

#include "HTTPTransfer.h"
#include "ServiceURL.h"

#include <Foundation/DecodingError.h>
#include <Foundation/JSONDecoding.h>
#include <algorithm>
#include <charconv>

namespace MusicKit {
namespace {

struct ServiceErrorEntry {
    std::int64_t code = 0;
    std::string title;
};

/// The service sends its code as a JSON string of digits ("40403"); a number is accepted too.
std::int64_t errorCode(const Foundation::JSONValue& entry) {
    const auto element = entry.member("code");
    if (!element) {
        return 0;
    }
    const Foundation::JSONPath path{&entry.path(), "code"};
    const Foundation::JSONValue value(*element, path);
    if (!element->is_string()) {
        return value.integer();
    }
    const std::string text = value.string();
    std::int64_t code = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), code);
    return status == std::errc() && end == text.data() + text.size() ? code : 0;
}

/// The first entry of the body's "errors" list; an empty entry when the body is not such a list.
ServiceErrorEntry firstServiceError(std::string_view body) {
    try {
        return Foundation::decodeJSON(body, [](const Foundation::JSONValue& root) {
            auto entries = root.requiredArray("errors", [](const Foundation::JSONValue& entry) {
                return ServiceErrorEntry{errorCode(entry), entry.optionalString("title").value_or("")};
            });
            return entries.empty() ? ServiceErrorEntry{} : entries.front();
        });
    } catch (const Foundation::DecodingError&) {
        return {};
    }
}

std::string describe(std::int64_t code, long status, const std::string& title) {
    std::string text = "The music service answered with status " + std::to_string(status);
    if (code != 0) {
        text += ", error code " + std::to_string(code);
    }
    return title.empty() ? text + "." : text + ": " + title;
}

} // namespace

MusicDataRequest::Error::Error(std::int64_t code, long status, std::string title)
    : std::runtime_error(describe(code, status, title))
    , code_(code)
    , status_(status)
    , title_(std::move(title)) {}

MusicDataResponse MusicDataRequest::response(std::stop_token stopToken) const {
    const auto configuration = ServiceConfiguration::requireCurrent();
    const std::vector<std::string> headers{"Authorization: Bearer " + configuration.developerToken,
                                           "Music-User-Token: " + configuration.userToken,
                                           "Accept: application/json"};
    const double timeout = std::min(urlRequest_.timeoutInterval,
                                    configuration.timeoutLimit.value_or(urlRequest_.timeoutInterval));
    HTTPResponse answer = performHTTPRequest(urlRequest_, headers, timeout, std::move(stopToken));
    if (answer.status < 200 || answer.status > 299) {
        const ServiceErrorEntry entry = firstServiceError(answer.body);
        throw Error(entry.code, answer.status, entry.title);
    }
    return MusicDataResponse{std::move(answer.body), answer.status};
}

} // namespace MusicKit
