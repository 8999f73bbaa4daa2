#include "CatalogResources.h"

#include "ResourceJSON.h"

#include <Foundation/JSONText.h>

namespace DemoService {
namespace {

using Foundation::jsonQuoted;

std::string playParams(const std::string& id, std::string_view kind) {
    return "{\"id\":" + jsonQuoted(id) + ",\"kind\":\"" + std::string(kind) + "\"}";
}

} // namespace

std::string catalogPlaylistJSON(const DemoLibrary& library, std::size_t index, const std::string& baseURL) {
    const auto& playlist = library.catalogPlaylists[index];
    return resourceHead("playlists", "/v1/catalog/us/playlists/", playlist.id) +
           ",\"attributes\":{\"artwork\":" + artworkJSON(baseURL, playlist.id, 1080) +
           ",\"name\":" + jsonQuoted(playlist.name) +
           ",\"playParams\":" + playParams(playlist.id, "playlist") + "}}";
}

std::string catalogAlbumJSON(const DemoLibrary& library, std::size_t index, const std::string& baseURL) {
    const auto& album = library.catalogAlbums[index];
    return resourceHead("albums", "/v1/catalog/us/albums/", album.id) +
           ",\"attributes\":{\"artwork\":" + artworkJSON(baseURL, album.id, 1200) +
           ",\"artistName\":" + jsonQuoted(library.catalogArtists[album.artist].name) + ",\"genreNames\":[" +
           jsonQuoted(album.genre) + "],\"name\":" + jsonQuoted(album.name) +
           ",\"releaseDate\":" + jsonQuoted(album.releaseDate) +
           ",\"trackCount\":" + std::to_string(album.songs.size()) +
           ",\"playParams\":" + playParams(album.id, "album") + "}}";
}

std::string catalogArtistJSON(const DemoLibrary& library, std::size_t index, const std::string& baseURL) {
    const auto& artist = library.catalogArtists[index];
    return resourceHead("artists", "/v1/catalog/us/artists/", artist.id) +
           ",\"attributes\":{\"name\":" + jsonQuoted(artist.name) + ",\"genreNames\":[" +
           jsonQuoted(artist.genre) + "],\"artwork\":" + artworkJSON(baseURL, artist.id, 2400) + "}}";
}

std::string catalogSongJSON(const DemoLibrary& library, std::size_t index, const std::string& baseURL) {
    const auto& song = library.catalogSongs[index];
    const auto& album = library.catalogAlbums[song.album];
    return resourceHead("songs", "/v1/catalog/us/songs/", song.id) +
           ",\"attributes\":{\"albumName\":" + jsonQuoted(album.name) + ",\"genreNames\":[" +
           jsonQuoted(album.genre) + "],\"trackNumber\":" + std::to_string(song.trackNumber) +
           ",\"releaseDate\":" + jsonQuoted(album.releaseDate) +
           ",\"durationInMillis\":" + std::to_string(song.durationInMillis) +
           ",\"name\":" + jsonQuoted(song.name) +
           ",\"artistName\":" + jsonQuoted(library.catalogArtists[album.artist].name) +
           ",\"artwork\":" + artworkJSON(baseURL, album.id, 1200) +
           ",\"playParams\":" + playParams(song.id, "song") + "}}";
}

} // namespace DemoService
