#pragma once

#include "CodingKeys.h"
#include "RemoteAlbum.h"
#include "RemoteArtwork.h"
#include "RemotePage.h"

#include <optional>
#include <string>

namespace MarrowbellCore {

/// One playlist of the user's library as the service sends it; its tracks come separately.
struct RemotePlaylist {
    struct Attributes {
        /// The same fields and rules as an album's play parameters.
        using PlayParameters = RemoteAlbum::Attributes::PlayParameters;

        enum class CodingKeys { name, canEdit, isPublic, hasCatalog, dateAdded, artwork, playParams };

        std::optional<std::string> name;
        std::optional<bool> canEdit;
        std::optional<bool> isPublic;
        std::optional<bool> hasCatalog;
        std::optional<std::string> dateAdded;
        std::optional<RemoteArtwork> artwork;
        std::optional<PlayParameters> playParams;

        static Attributes decode(const Foundation::JSONValue& object);
        std::string encodedJSON() const;
    };

    enum class CodingKeys { id, type, href, attributes };

    std::string id;
    std::string type;
    std::string href;
    Attributes attributes;

    /// Throws Foundation::DecodingError.
    static RemotePlaylist decode(const Foundation::JSONValue& object);
    std::string encodedJSON() const;
};

using RemotePlaylistResponse = RemotePage<RemotePlaylist>;

template <> struct CodingKeyTexts<RemotePlaylist::CodingKeys> {
    static constexpr std::array<std::string_view, 4> texts{"id", "type", "href", "attributes"};
};
template <> struct CodingKeyTexts<RemotePlaylist::Attributes::CodingKeys> {
    static constexpr std::array<std::string_view, 7> texts{"name",      "canEdit", "isPublic",  "hasCatalog",
                                                           "dateAdded", "artwork", "playParams"};
};

} // namespace MarrowbellCore
