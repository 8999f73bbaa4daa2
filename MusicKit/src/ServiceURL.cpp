#include "ServiceURL.h"

namespace MusicKit {
namespace {

bool isUnreserved(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

} // namespace

std::string percentEncoded(std::string_view text) {
    static constexpr std::string_view hexDigits = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size() * 3);
    for (const char character : text) {
        const auto c = static_cast<unsigned char>(character);
        if (isUnreserved(c)) {
            encoded += character;
        } else {
            encoded += '%';
            encoded += hexDigits[c >> 4];
            encoded += hexDigits[c & 0xF];
        }
    }
    return encoded;
}

ServiceConfiguration currentServiceConfiguration() {
    auto configuration = ServiceConfiguration::current();
    if (!configuration) {
        throw ServiceConfigurationError("No music service is configured.");
    }
    return *std::move(configuration);
}

Foundation::URL serviceURL(const ServiceConfiguration& configuration, std::string_view pathAndQuery) {
    auto url = Foundation::URL::fromString(configuration.apiBase + std::string(pathAndQuery));
    if (!url) {
        throw ServiceConfigurationError("The service configuration's API base does not form a URL.");
    }
    return *std::move(url);
}

} // namespace MusicKit
