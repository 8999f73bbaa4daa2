#include "ResourceDecoding.h"

namespace MusicKit {
namespace {

using Foundation::JSONValue;

std::optional<Artwork> artwork(const JSONValue& attributes) {
    return attributes.optionalObject(
        "artwork", [](const JSONValue& value) { return Artwork(value.requiredString("url")); });
}

std::optional<PlayParameters> playParameters(const JSONValue& attributes) {
    return attributes.optionalObject("playParams",
                                     [](const JSONValue& value) { return PlayParameters::decode(value); });
}

template <class Decode> auto decodeWithAttributes(const JSONValue& resource, Decode decode) {
    const MusicItemID id(resource.requiredString("id"));
    return resource.requiredObject("attributes",
                                   [&](const JSONValue& attributes) { return decode(id, attributes); });
}

} // namespace

template <> Playlist decodeResource<Playlist>(const JSONValue& resource) {
    return decodeWithAttributes(resource, [](const MusicItemID& id, const JSONValue& attributes) {
        return Playlist{id, attributes.requiredString("name"), artwork(attributes)};
    });
}

template <> Album decodeResource<Album>(const JSONValue& resource) {
    return decodeWithAttributes(resource, [](const MusicItemID& id, const JSONValue& attributes) {
        return Album{id, attributes.requiredString("name"),
                     attributes.optionalString("artistName").value_or(""), artwork(attributes)};
    });
}

template <> Artist decodeResource<Artist>(const JSONValue& resource) {
    return decodeWithAttributes(resource, [](const MusicItemID& id, const JSONValue& attributes) {
        return Artist{id, attributes.requiredString("name"), artwork(attributes)};
    });
}

template <> Song decodeResource<Song>(const JSONValue& resource) {
    return decodeWithAttributes(resource, [](const MusicItemID& id, const JSONValue& attributes) {
        const auto milliseconds = attributes.optionalInteger("durationInMillis");
        return Song{id,
                    attributes.requiredString("name"),
                    attributes.optionalString("artistName").value_or(""),
                    attributes.optionalString("albumName"),
                    milliseconds ? std::optional(static_cast<double>(*milliseconds) / 1000.0) : std::nullopt,
                    artwork(attributes),
                    playParameters(attributes)};
    });
}

std::optional<ResourceKind> resourceKind(std::string_view type) {
    if (type.starts_with("library-")) {
        type.remove_prefix(8);
    }
    if (type == "playlists") {
        return ResourceKind::playlist;
    }
    if (type == "albums") {
        return ResourceKind::album;
    }
    if (type == "artists") {
        return ResourceKind::artist;
    }
    if (type == "songs") {
        return ResourceKind::song;
    }
    return std::nullopt;
}

} // namespace MusicKit
