#include "RenderedLibrary.h"

#include "CatalogResources.h"
#include "ResourceJSON.h"

#include <Foundation/JSONText.h>
#include <algorithm>
#include <array>
#include <ctime>
#include <numeric>

namespace DemoService {
namespace {

using Foundation::jsonQuoted;

std::string isoDate(std::int64_t secondsSince1970) {
    const auto time = static_cast<std::time_t>(secondsSince1970);
    std::tm parts{};
    gmtime_r(&time, &parts);
    std::array<char, 32> text{};
    std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text.data();
}

std::string songPlayParams(const DemoLibrary::Song& song, const DemoLibrary::CatalogSong& catalogSong) {
    std::string json =
        "{\"id\":" + jsonQuoted(song.id) + ",\"kind\":\"song\",\"isLibrary\":true,\"reporting\":";
    if (song.isUpload) {
        return json + "false}";
    }
    // A purchase is identified by its own number, in the same range as the catalog's.
    const std::string otherID =
        song.isPurchase ? std::to_string(std::stoll(catalogSong.id) + 500000000) : catalogSong.id;
    return json + "true," + (song.isPurchase ? "\"purchasedId\":" : "\"catalogId\":") + jsonQuoted(otherID) +
           ",\"reportingId\":" + jsonQuoted(otherID) + "}";
}

std::vector<std::size_t> newestFirst(std::size_t count, const auto& dateAdded) {
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t lhs, std::size_t rhs) { return dateAdded(lhs) > dateAdded(rhs); });
    return order;
}

/// Puts `index` into an order sorted newest first, after the items added at the same time.
void insertByDate(std::vector<std::size_t>& order, std::size_t index, const auto& dateAdded) {
    const auto position = std::partition_point(
        order.begin(), order.end(), [&](std::size_t other) { return dateAdded(other) >= dateAdded(index); });
    order.insert(position, index);
}

} // namespace

RenderedLibrary::RenderedLibrary(const DemoLibrary& library, std::string baseURL)
    : baseURL_(std::move(baseURL)) {
    for (const auto& song : library.songs) {
        songIndexes_.emplace(song.id, songs_.size());
        songs_.push_back(renderSong(library, song, baseURL_));
    }
    for (const auto& album : library.albums) {
        albumIndexes_.emplace(album.id, albums_.size());
        albums_.push_back(renderAlbum(library, album, baseURL_));
    }
    for (const auto& artist : library.artists) {
        artistIndexes_.emplace(artist.id, artists_.size());
        artists_.push_back(renderArtist(library, artist, baseURL_));
    }
    for (const auto& playlist : library.playlists) {
        playlistIndexes_.emplace(playlist.id, playlists_.size());
        playlists_.push_back(renderPlaylist(playlist, baseURL_));
    }
    songsNewestFirst_ =
        newestFirst(library.songs.size(), [&](std::size_t i) { return library.songs[i].dateAdded; });
    albumsNewestFirst_ =
        newestFirst(library.albums.size(), [&](std::size_t i) { return library.albums[i].dateAdded; });
    playlistsNewestFirst_ =
        newestFirst(library.playlists.size(), [&](std::size_t i) { return library.playlists[i].dateAdded; });
}

RenderedLibrary::Resource RenderedLibrary::renderSong(const DemoLibrary& library,
                                                      const DemoLibrary::Song& song,
                                                      const std::string& baseURL) {
    const auto& catalogSong = library.catalogSongs[song.catalogSong];
    const auto& album = library.albums[song.album];
    const auto& catalogAlbum = library.catalogAlbums[album.catalogAlbum];
    const auto& artist = library.artists[album.artist];
    const auto& catalogArtist = library.catalogArtists[artist.catalogArtist];
    Resource resource{resourceHead("library-songs", "/v1/me/library/songs/", song.id), {}};
    std::string& body = resource.body;
    body += ",\"attributes\":{\"albumName\":" + jsonQuoted(catalogAlbum.name) + ",\"genreNames\":[" +
            jsonQuoted(catalogAlbum.genre) + "]" +
            ",\"trackNumber\":" + std::to_string(catalogSong.trackNumber) +
            ",\"hasLyrics\":" + (catalogSong.hasLyrics ? "true" : "false");
    if (!song.isUpload) {
        body += ",\"releaseDate\":" + jsonQuoted(catalogAlbum.releaseDate);
    }
    body += ",\"durationInMillis\":" + std::to_string(catalogSong.durationInMillis) +
            ",\"name\":" + jsonQuoted(catalogSong.name) + ",\"artistName\":" + jsonQuoted(catalogArtist.name);
    if (!song.isUpload) {
        body += ",\"artwork\":" + artworkJSON(baseURL, album.id, 1200);
    }
    body += ",\"playParams\":" + songPlayParams(song, catalogSong) +
            ",\"dateAdded\":" + jsonQuoted(isoDate(song.dateAdded)) + "}";
    resource.relationships =
        ",\"relationships\":{\"artists\":{\"href\":" +
        jsonQuoted("/v1/me/library/songs/" + song.id + "/artists") + ",\"data\":[" +
        resourceReference("library-artists", "/v1/me/library/artists/", artist.id) +
        "]},\"albums\":{\"href\":" + jsonQuoted("/v1/me/library/songs/" + song.id + "/albums") +
        ",\"data\":[" + resourceReference("library-albums", "/v1/me/library/albums/", album.id) + "]}}";
    return resource;
}

RenderedLibrary::Resource RenderedLibrary::renderAlbum(const DemoLibrary& library,
                                                       const DemoLibrary::Album& album,
                                                       const std::string& baseURL) {
    const auto& catalogAlbum = library.catalogAlbums[album.catalogAlbum];
    const auto& catalogArtist = library.catalogArtists[library.artists[album.artist].catalogArtist];
    Resource resource{resourceHead("library-albums", "/v1/me/library/albums/", album.id), {}};
    resource.body += ",\"attributes\":{\"artwork\":" + artworkJSON(baseURL, album.id, 1200) +
                     ",\"artistName\":" + jsonQuoted(catalogArtist.name) + ",\"genreNames\":[" +
                     jsonQuoted(catalogAlbum.genre) + "],\"name\":" + jsonQuoted(catalogAlbum.name) +
                     ",\"playParams\":{\"id\":" + jsonQuoted(album.id) +
                     ",\"kind\":\"album\",\"isLibrary\":true}" +
                     ",\"releaseDate\":" + jsonQuoted(catalogAlbum.releaseDate) +
                     ",\"dateAdded\":" + jsonQuoted(isoDate(album.dateAdded)) +
                     ",\"trackCount\":" + std::to_string(album.songs.size()) + "}";
    return resource;
}

RenderedLibrary::Resource RenderedLibrary::renderArtist(const DemoLibrary& library,
                                                        const DemoLibrary::Artist& artist,
                                                        const std::string& baseURL) {
    const auto& catalogArtist = library.catalogArtists[artist.catalogArtist];
    Resource resource{resourceHead("library-artists", "/v1/me/library/artists/", artist.id), {}};
    resource.body += ",\"attributes\":{\"name\":" + jsonQuoted(catalogArtist.name) + "}";
    resource.relationships = ",\"relationships\":{\"catalog\":{\"href\":" +
                             jsonQuoted("/v1/me/library/artists/" + artist.id + "/catalog") + ",\"data\":[" +
                             catalogArtistJSON(library, artist.catalogArtist, baseURL) + "]}}";
    return resource;
}

RenderedLibrary::Resource RenderedLibrary::renderPlaylist(const DemoLibrary::Playlist& playlist,
                                                          const std::string& baseURL) {
    Resource resource{resourceHead("library-playlists", "/v1/me/library/playlists/", playlist.id), {}};
    std::string& body = resource.body;
    body += std::string(",\"attributes\":{\"name\":") + jsonQuoted(playlist.name) +
            ",\"canEdit\":" + (playlist.canEdit ? "true" : "false") +
            ",\"isPublic\":" + (playlist.isPublic ? "true" : "false") +
            ",\"hasCatalog\":" + (playlist.isPublic ? "true" : "false") +
            ",\"dateAdded\":" + jsonQuoted(isoDate(playlist.dateAdded));
    if (playlist.hasArtwork) {
        body += ",\"artwork\":" + artworkJSON(baseURL, playlist.id, 1200);
    }
    body += ",\"playParams\":{\"id\":" + jsonQuoted(playlist.id) +
            ",\"kind\":\"playlist\",\"isLibrary\":true,\"globalId\":" + jsonQuoted(playlist.globalId) + "}}";
    return resource;
}

const std::vector<RenderedLibrary::Resource>& RenderedLibrary::resources(Kind kind) const {
    switch (kind) {
    case Kind::songs:
        return songs_;
    case Kind::albums:
        return albums_;
    case Kind::artists:
        return artists_;
    case Kind::playlists:
        break;
    }
    return playlists_;
}

std::size_t RenderedLibrary::count(Kind kind) const {
    return resources(kind).size();
}

std::size_t RenderedLibrary::indexAt(Kind kind, std::size_t position, bool newestFirst) const {
    if (!newestFirst) {
        return position;
    }
    switch (kind) {
    case Kind::songs:
        return songsNewestFirst_[position];
    case Kind::albums:
        return albumsNewestFirst_[position];
    case Kind::playlists:
        return playlistsNewestFirst_[position];
    case Kind::artists:
        break;
    }
    return position;
}

void RenderedLibrary::append(std::string& out, Kind kind, std::size_t index, bool withRelationships) const {
    const Resource& resource = resources(kind)[index];
    out += resource.body;
    if (withRelationships) {
        out += resource.relationships;
    }
    out += '}';
}

const std::unordered_map<std::string, std::size_t>& RenderedLibrary::indexes(Kind kind) const {
    switch (kind) {
    case Kind::songs:
        return songIndexes_;
    case Kind::albums:
        return albumIndexes_;
    case Kind::artists:
        return artistIndexes_;
    case Kind::playlists:
        break;
    }
    return playlistIndexes_;
}

std::optional<std::size_t> RenderedLibrary::index(Kind kind, std::string_view id) const {
    const auto& map = indexes(kind);
    const auto found = map.find(std::string(id));
    return found == map.end() ? std::nullopt : std::optional(found->second);
}

void RenderedLibrary::add(const DemoLibrary& library, const DemoLibrary::Addition& addition) {
    if (addition.isNewArtist) {
        const auto& artist = library.artists[addition.artist];
        artistIndexes_.emplace(artist.id, artists_.size());
        artists_.push_back(renderArtist(library, artist, baseURL_));
    }
    const auto& album = library.albums[addition.album];
    if (addition.isNewAlbum) {
        albumIndexes_.emplace(album.id, albums_.size());
        albums_.push_back(renderAlbum(library, album, baseURL_));
        insertByDate(albumsNewestFirst_, addition.album,
                     [&](std::size_t i) { return library.albums[i].dateAdded; });
    } else {
        // The album's track count changed.
        albums_[addition.album] = renderAlbum(library, album, baseURL_);
    }
    const auto& song = library.songs[addition.song];
    songIndexes_.emplace(song.id, songs_.size());
    songs_.push_back(renderSong(library, song, baseURL_));
    insertByDate(songsNewestFirst_, addition.song, [&](std::size_t i) { return library.songs[i].dateAdded; });
}

} // namespace DemoService
