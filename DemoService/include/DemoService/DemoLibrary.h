#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace DemoService {

/// The demo service's data: a catalog, and a user library that holds a part of it.
///
/// Generated deterministically from a song count and a seed: the same pair always gives the same
/// names, identifiers and dates. The library takes whole catalog albums (the last one possibly in
/// part) until it holds the wanted number of songs, so it has about one album per 12 songs and one
/// artist per 3 albums; the rest of the catalog is not in the library. The catalog also holds
/// editorial playlists, which the library does not. Indexes refer to the vectors of this object.
/// Dates are seconds since 1970.
struct DemoLibrary {
    struct CatalogPlaylist {
        std::string id;
        std::string name;
    };
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

    /// What adding a catalog song changed: the new library song, and its album and artist with
    /// whether they came with it.
    struct Addition {
        std::size_t song = 0;
        std::size_t album = 0;
        bool isNewAlbum = false;
        std::size_t artist = 0;
        bool isNewArtist = false;
    };

    std::vector<CatalogPlaylist> catalogPlaylists;
    std::vector<CatalogArtist> catalogArtists;
    std::vector<CatalogAlbum> catalogAlbums;
    std::vector<CatalogSong> catalogSongs;
    std::vector<Song> songs;
    std::vector<Album> albums;
    std::vector<Artist> artists;
    std::vector<Playlist> playlists;

    static DemoLibrary generate(std::size_t songCount, std::uint64_t seed);

    std::optional<std::size_t> catalogSongIndex(std::string_view id) const;
    /// Puts a catalog song into the library, added at `dateAdded`, with its album and artist when
    /// the library lacks them; the album keeps its songs in track order. Nothing when the library
    /// holds the song already.
    std::optional<Addition> addCatalogSong(std::size_t catalogSong, std::int64_t dateAdded);
};

} // namespace DemoService
