#include "RemoteConversions.h"

#include "MarrowbellCore/Logging/Loggers.h"
#include "ServiceDates.h"

#include <MusicKit/Artwork.h>

namespace MarrowbellCore {
namespace {

std::optional<Foundation::URL> artworkURLOf(const std::optional<RemoteArtwork>& artwork) {
    return artwork ? MarrowbellCore::artworkURL(artwork->url) : std::nullopt;
}

std::optional<Foundation::Date> serviceDate(const std::optional<std::string>& text) {
    return text ? ServiceDates::parseServiceDate(*text) : std::nullopt;
}

std::optional<std::string> firstGenre(const std::vector<std::string>& genreNames) {
    return genreNames.empty() ? std::nullopt : std::optional(genreNames.front());
}

/// The catalog's record of a library artist: the first one related, if any.
const RemoteArtist::Relationships::Catalog::Artist* catalogArtist(const RemoteArtist& remote) {
    if (!remote.relationships || !remote.relationships->catalog || !remote.relationships->catalog->data ||
        remote.relationships->catalog->data->empty()) {
        return nullptr;
    }
    return &remote.relationships->catalog->data->front();
}

} // namespace

std::optional<Foundation::URL> artworkURL(const std::string& fromTemplate) {
    return MusicKit::Artwork(fromTemplate).url(64, 64);
}

std::optional<MusicKit::PlayParameters> makePlayParameters(const std::optional<RemotePlayParameters>& from) {
    if (!from) {
        return std::nullopt;
    }
    try {
        return MusicKit::PlayParameters::decodeJSON(from->encodedJSON());
    } catch (const std::exception& error) {
        Loggers::parameters().error("Failed to decode PlayParameters: %@", {error});
        return std::nullopt;
    }
}

std::optional<IncomingPlaylist> incomingPlaylist(const RemotePlaylist& remote) {
    if (!remote.attributes.name) {
        return std::nullopt;
    }
    return IncomingPlaylist{remote.id, *remote.attributes.name, serviceDate(remote.attributes.dateAdded),
                            artworkURLOf(remote.attributes.artwork)};
}

IncomingAlbum incomingAlbum(const RemoteAlbum& remote) {
    const auto& attributes = remote.attributes;
    return IncomingAlbum{remote.id,
                         attributes.name.empty() ? "Unknown Album" : attributes.name,
                         attributes.artistName,
                         firstGenre(attributes.genreNames),
                         serviceDate(attributes.dateAdded),
                         serviceDate(attributes.releaseDate),
                         artworkURLOf(attributes.artwork)};
}

IncomingArtist incomingArtist(const RemoteArtist& remote) {
    const auto* catalog = catalogArtist(remote);
    const auto* catalogAttributes = catalog && catalog->attributes ? &*catalog->attributes : nullptr;
    std::string name = "Unknown Artist";
    if (remote.attributes.name) {
        name = *remote.attributes.name;
    } else if (catalogAttributes && catalogAttributes->name) {
        name = *catalogAttributes->name;
    }
    std::optional<std::string> genre;
    if (catalogAttributes && catalogAttributes->genreNames) {
        genre = firstGenre(*catalogAttributes->genreNames);
    }
    return IncomingArtist{remote.id, std::move(name), std::move(genre), std::nullopt,
                          catalogAttributes ? artworkURLOf(catalogAttributes->artwork) : std::nullopt};
}

IncomingSong incomingSong(const RemoteSong& remote, std::optional<std::int64_t> order, bool isPassive) {
    const auto& attributes = remote.attributes;
    return IncomingSong{
        .identifier = remote.id,
        .title = attributes.name,
        .duration =
            attributes.durationInMillis ? static_cast<double>(*attributes.durationInMillis) / 1000.0 : 0.0,
        .artistName = attributes.artistName,
        .albumTitle = attributes.albumName,
        .genre = firstGenre(attributes.genreNames),
        .dateAdded = std::nullopt,
        .releaseDate = ServiceDates::parseReleaseDate(attributes.releaseDate),
        .playParameters = makePlayParameters(attributes.playParams),
        .artworkURL = artworkURLOf(attributes.artwork),
        .trackNumber = attributes.trackNumber,
        .order = order,
        .isPassive = isPassive,
    };
}

std::vector<IncomingPlaylist> incomingPlaylists(const std::vector<RemotePlaylist>& from) {
    std::vector<IncomingPlaylist> playlists;
    playlists.reserve(from.size());
    for (const auto& remote : from) {
        if (auto playlist = incomingPlaylist(remote)) {
            playlists.push_back(std::move(*playlist));
        }
    }
    return playlists;
}

std::vector<IncomingAlbum> incomingAlbums(const std::vector<RemoteAlbum>& from) {
    std::vector<IncomingAlbum> albums;
    albums.reserve(from.size());
    for (const auto& remote : from) {
        albums.push_back(incomingAlbum(remote));
    }
    return albums;
}

std::vector<IncomingArtist> incomingArtists(const std::vector<RemoteArtist>& from) {
    std::vector<IncomingArtist> artists;
    artists.reserve(from.size());
    for (const auto& remote : from) {
        artists.push_back(incomingArtist(remote));
    }
    return artists;
}

} // namespace MarrowbellCore
