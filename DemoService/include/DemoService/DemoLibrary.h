#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace DemoService {

/// The demo service's data: a catalog, and a user library that holds a part of it.
///
/// Generated deterministically from a song count and a seed: the same pair always gives the same
/// names, identifiers and dates. The library takes whole catalog albums (the last one possibly in
/// part) until it holds the wanted number of songs, so it has about one album per 12 songs and one
/// artist per 3 albums; the rest of the catalog is not in the library. Indexes refer to the vectors
/// of this object. Dates are seconds since 1970.
struct DemoLibrary {
    struct CatalogArtist {
        std::string id;
        std::string name;
        std::string genre;
    };
    struct CatalogAlbum {
        std::string id;
        std::string name;
        std::size_t artist = 0;
        std::string genre;
        std::string releaseDate;
        std::vector<std::size_t> songs;
    };
    struct CatalogSong {
        std::string id;
        std::string name;
        std::size_t album = 0;
        std::int64_t trackNumber = 0;
        std::int64_t durationInMillis = 0;
        bool hasLyrics = false;
    };
    struct Song {
        std::string id;
        std::size_t catalogSong = 0;
        std::size_t album = 0;
        std::int64_t dateAdded = 0;
        /// A purchase carries its own identifier instead of a catalog one.
        bool isPurchase = false;
        /// An upload has no artwork and no release date.
        bool isUpload = false;
    };
    struct Album {
        std::string id;
        std::size_t catalogAlbum = 0;
        std::size_t artist = 0;
        std::int64_t dateAdded = 0;
        /// Library songs in track order.
        std::vector<std::size_t> songs;
    };
    struct Artist {
        std::string id;
        std::size_t catalogArtist = 0;
        std::vector<std::size_t> albums;
    };
    struct Playlist {
        std::string id;
        std::string name;
        std::string globalId;
        std::int64_t dateAdded = 0;
        bool canEdit = false;
        bool isPublic = false;
        bool hasArtwork = false;
        /// Library songs in playlist order; may be empty.
        std::vector<std::size_t> tracks;
    };

    std::vector<CatalogArtist> catalogArtists;
    std::vector<CatalogAlbum> catalogAlbums;
    std::vector<CatalogSong> catalogSongs;
    std::vector<Song> songs;
    std::vector<Album> albums;
    std::vector<Artist> artists;
    std::vector<Playlist> playlists;

    static DemoLibrary generate(std::size_t songCount, std::uint64_t seed);
};

} // namespace DemoService
