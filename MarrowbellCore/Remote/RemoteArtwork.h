#pragma once

#include "CodingKeys.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Foundation {
class JSONValue;
}

namespace MarrowbellCore {

/// A resource's artwork as the service describes it. `url` is a template holding "{w}" and "{h}"
/// for the wanted width and height, kept as received.
struct RemoteArtwork {
    enum class CodingKeys { width, height, url };

    std::optional<std::int64_t> width;
    std::optional<std::int64_t> height;
    std::string url;

    /// Throws Foundation::DecodingError.
    static RemoteArtwork decode(const Foundation::JSONValue& object);
    std::string encodedJSON() const;
};

template <> struct CodingKeyTexts<RemoteArtwork::CodingKeys> {
    static constexpr std::array<std::string_view, 3> texts{"width", "height", "url"};
};

} // namespace MarrowbellCore
