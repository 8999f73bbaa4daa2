#pragma once

#include "CodingKeys.h"
#include "RemoteArtwork.h"
#include "RemotePage.h"

#include <MarrowbellCore/Store/RemotePlayParameters.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace MarrowbellCore {

/// One song as the service sends it in the library's song listing and in container track lists.
struct RemoteSong {
    struct Attributes {
        enum class CodingKeys {
            albumName,
            genreNames,
            trackNumber,
            hasLyrics,
            releaseDate,
            durationInMillis,
            name,
            artistName,
            artwork,
            playParams
        };

        std::optional<std::string> albumName;
        /// May be empty.
        std::vector<std::string> genreNames;
        std::optional<std::int64_t> trackNumber;
        std::optional<bool> hasLyrics;
        std::optional<std::string> releaseDate;
        std::optional<std::int64_t> durationInMillis;
        std::string name;
        std::optional<std::string> artistName;
        std::optional<RemoteArtwork> artwork;
        std::optional<RemotePlayParameters> playParams;

        static Attributes decode(const Foundation::JSONValue& object);
        std::string encodedJSON() const;
    };

    struct Relationships {
        /// The related artists or albums.
        struct Resource {
            struct ResourceData {
                enum class CodingKeys { id };

                /// The related item's library identifier.
                std::optional<std::string> id;

                static ResourceData decode(const Foundation::JSONValue& object);
                std::string encodedJSON() const;
            };

            enum class CodingKeys { data };

            std::optional<std::vector<ResourceData>> data;

            static Resource decode(const Foundation::JSONValue& object);
            std::string encodedJSON() const;
        };

        enum class CodingKeys { artists, albums };

        std::optional<Resource> artists;
        std::optional<Resource> albums;

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
    static RemoteSong decode(const Foundation::JSONValue& object);
    std::string encodedJSON() const;
};

using RemoteSongResponse = RemotePage<RemoteSong>;

template <> struct CodingKeyTexts<RemoteSong::CodingKeys> {
    static constexpr std::array<std::string_view, 5> texts{"id", "type", "href", "attributes",
                                                           "relationships"};
};
template <> struct CodingKeyTexts<RemoteSong::Attributes::CodingKeys> {
    static constexpr std::array<std::string_view, 10> texts{
        "albumName",        "genreNames", "trackNumber", "hasLyrics", "releaseDate",
        "durationInMillis", "name",       "artistName",  "artwork",   "playParams"};
};
template <> struct CodingKeyTexts<RemoteSong::Relationships::CodingKeys> {
    static constexpr std::array<std::string_view, 2> texts{"artists", "albums"};
};
template <> struct CodingKeyTexts<RemoteSong::Relationships::Resource::CodingKeys> {
    static constexpr std::array<std::string_view, 1> texts{"data"};
};
template <> struct CodingKeyTexts<RemoteSong::Relationships::Resource::ResourceData::CodingKeys> {
    static constexpr std::array<std::string_view, 1> texts{"id"};
};

} // namespace MarrowbellCore
