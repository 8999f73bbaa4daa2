#include "ServiceURL.h"

namespace MusicKit {
namespace {} // namespace

std::string percentEncoded(std::string_view text) {
    static constexpr std::string_view hexDigits = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size() * 3);
    for (const char character : text) {
        const auto c = static_cast<unsigned char>(character);
        if (Foundation::isUnreservedURLCharacter(character)) {
            encoded += character;
        } else {
            encoded += '%';
            encoded += hexDigits[c >> 4];
            encoded += hexDigits[c & 0xF];
        }
    }
    return encoded;
}

Foundation::URL serviceURL(const ServiceConfiguration& configuration, std::string_view pathAndQuery) {
    auto url = Foundation::URL::fromString(configuration.apiBase + std::string(pathAndQuery));
    if (!url) {
        throw ServiceConfigurationError("The service configuration's API base does not form a URL.");
    }
    return *std::move(url);
}

} // namespace MusicKit
