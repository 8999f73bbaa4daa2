#pragma once

#include "CodingKeys.h"
#include "RemoteArtwork.h"
#include "RemotePage.h"

#include <optional>
#include <string>
#include <vector>

namespace MarrowbellCore {

/// One album of the user's library as the service sends it.
struct RemoteAlbum {
    struct Attributes {
        /// The album's play parameters; a playlist's have the same shape.
        struct PlayParameters {
            enum class CodingKeys { id, kind, isLibrary, globalId, versionHash };

            std::string id;
            std::string kind;
            std::optional<bool> isLibrary;
            std::optional<std::string> globalId;
            std::optional<std::string> versionHash;

            static PlayParameters decode(const Foundation::JSONValue& object);
            std::string encodedJSON() const;
        };

        enum class CodingKeys { name, artistName, genreNames, dateAdded, releaseDate, artwork, playParams };

        /// May be empty.
        std::string name;
        std::optional<std::string> artistName;
        std::vector<std::string> genreNames;
        std::optional<std::string> dateAdded;
        std::optional<std::string> releaseDate;
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
    static RemoteAlbum decode(const Foundation::JSONValue& object);
    std::string encodedJSON() const;
};

using RemoteAlbumResponse = RemotePage<RemoteAlbum>;

template <> struct CodingKeyTexts<RemoteAlbum::CodingKeys> {
    static constexpr std::array<std::string_view, 4> texts{"id", "type", "href", "attributes"};
};
template <> struct CodingKeyTexts<RemoteAlbum::Attributes::CodingKeys> {
    static constexpr std::array<std::string_view, 7> texts{
        "name", "artistName", "genreNames", "dateAdded", "releaseDate", "artwork", "playParams"};
};
template <> struct CodingKeyTexts<RemoteAlbum::Attributes::PlayParameters::CodingKeys> {
    static constexpr std::array<std::string_view, 5> texts{"id", "kind", "isLibrary", "globalId",
                                                           "versionHash"};
};

} // namespace MarrowbellCore
