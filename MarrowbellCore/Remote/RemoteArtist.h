#pragma once

#include "CodingKeys.h"
#include "RemoteArtwork.h"
#include "RemotePage.h"

#include <optional>
#include <string>
#include <vector>

namespace MarrowbellCore {

/// One artist of the user's library as the service sends it, with the catalog's record of the same
/// artist when the listing asked for it.
struct RemoteArtist {
    struct Attributes {
        enum class CodingKeys { name };

        /// An empty name is a present name.
        std::optional<std::string> name;

        static Attributes decode(const Foundation::JSONValue& object);
        std::string encodedJSON() const;
    };

    struct Relationships {
        struct Catalog {
            /// The catalog's record of the artist; every field may be missing.
            struct Artist {
                struct Attributes {
                    enum class CodingKeys { name, genreNames, artwork };

                    std::optional<std::string> name;
                    std::optional<std::vector<std::string>> genreNames;
                    std::optional<RemoteArtwork> artwork;

                    static Attributes decode(const Foundation::JSONValue& object);
                    std::string encodedJSON() const;
                };

                enum class CodingKeys { id, type, href, attributes };

                std::optional<std::string> id;
                std::optional<std::string> type;
                std::optional<std::string> href;
                std::optional<Attributes> attributes;

                static Artist decode(const Foundation::JSONValue& object);
                std::string encodedJSON() const;
            };

            enum class CodingKeys { href, data };

            std::optional<std::string> href;
            std::optional<std::vector<Artist>> data;

            static Catalog decode(const Foundation::JSONValue& object);
            std::string encodedJSON() const;
        };

        enum class CodingKeys { catalog };

        std::optional<Catalog> catalog;

        static Relationships decode(const Foundation::JSONValue& object);
        std::string encodedJSON() const;
    };

    enum class CodingKeys { id, type, href, attributes, relationships };

    std::string id;
    std::string type;
    std::string href;
    Attributes attributes;
    std::optional<Relationships> relationships;

    /// Throws Foundation::DecodingError.
    static RemoteArtist decode(const Foundation::JSONValue& object);
    std::string encodedJSON() const;
};

using RemoteArtistResponse = RemotePage<RemoteArtist>;

template <> struct CodingKeyTexts<RemoteArtist::CodingKeys> {
    static constexpr std::array<std::string_view, 5> texts{"id", "type", "href", "attributes",
                                                           "relationships"};
};
template <> struct CodingKeyTexts<RemoteArtist::Attributes::CodingKeys> {
    static constexpr std::array<std::string_view, 1> texts{"name"};
};
template <> struct CodingKeyTexts<RemoteArtist::Relationships::CodingKeys> {
    static constexpr std::array<std::string_view, 1> texts{"catalog"};
};
template <> struct CodingKeyTexts<RemoteArtist::Relationships::Catalog::CodingKeys> {
    static constexpr std::array<std::string_view, 2> texts{"href", "data"};
};
template <> struct CodingKeyTexts<RemoteArtist::Relationships::Catalog::Artist::CodingKeys> {
    static constexpr std::array<std::string_view, 4> texts{"id", "type", "href", "attributes"};
};
template <> struct CodingKeyTexts<RemoteArtist::Relationships::Catalog::Artist::Attributes::CodingKeys> {
    static constexpr std::array<std::string_view, 3> texts{"name", "genreNames", "artwork"};
};

} // namespace MarrowbellCore
