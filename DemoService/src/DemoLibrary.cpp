#include "DemoService/DemoLibrary.h"

#include "DemoNames.h"
#include "SeededRandom.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace DemoService {
namespace {

constexpr std::int64_t earliestDateAdded = 1420070400; // 2015-01-01
constexpr std::int64_t latestDateAdded = 1735689600;   // 2025-01-01

/// A library identifier in the service's style ("i.3kPq9ZxR12"): a random-looking part, then the
/// index in base 62, which keeps identifiers unique.
std::string libraryID(char prefix, std::size_t index, SeededRandom& random) {
    static constexpr std::string_view digits =
        "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    std::string id{prefix, '.'};
    for (int i = 0; i < 6; ++i) {
        id += digits[random.below(digits.size())];
    }
    do {
        id += digits[index % digits.size()];
        index /= digits.size();
    } while (index > 0);
    return id;
}

std::string releaseDate(SeededRandom& random) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02d", static_cast<int>(random.between(1965, 2024)),
                  static_cast<int>(random.between(1, 12)), static_cast<int>(random.between(1, 28)));
    return text.data();
}

void generateCatalog(DemoLibrary& library, std::size_t songTarget, SeededRandom& random) {
    while (library.catalogSongs.size() < songTarget) {
        const std::size_t artistIndex = library.catalogArtists.size();
        const std::string genre = DemoNames::genre(random);
        library.catalogArtists.push_back(
            {std::to_string(100000000 + artistIndex), DemoNames::artistName(random), genre});
        const auto albumCount = random.between(1, 5);
        for (std::int64_t a = 0; a < albumCount; ++a) {
            DemoLibrary::CatalogAlbum album{std::to_string(1400000000 + library.catalogAlbums.size()),
                                            DemoNames::albumTitle(random),
                                            artistIndex,
                                            random.chance(80) ? genre : DemoNames::genre(random),
                                            releaseDate(random),
                                            {}};
            const auto trackCount = random.between(4, 21);
            for (std::int64_t track = 1; track <= trackCount; ++track) {
                album.songs.push_back(library.catalogSongs.size());
                library.catalogSongs.push_back({std::to_string(1500000000 + library.catalogSongs.size()),
                                                DemoNames::songTitle(random), library.catalogAlbums.size(),
                                                track, random.between(95000, 420000), random.chance(70)});
            }
            library.catalogAlbums.push_back(std::move(album));
        }
    }
}

std::size_t libraryArtist(DemoLibrary& library, std::size_t catalogArtist,
                          std::vector<std::size_t>& artistIndex, SeededRandom& random) {
    if (artistIndex[catalogArtist] == SIZE_MAX) {
        artistIndex[catalogArtist] = library.artists.size();
        library.artists.push_back({libraryID('r', library.artists.size(), random), catalogArtist, {}});
    }
    return artistIndex[catalogArtist];
}

/// Whole catalog albums, in catalog order, until the library holds `songCount` songs.
void fillLibrary(DemoLibrary& library, std::size_t songCount, SeededRandom& random) {
    std::vector<std::size_t> artistIndex(library.catalogArtists.size(), SIZE_MAX);
    for (std::size_t c = 0; c < library.catalogAlbums.size() && library.songs.size() < songCount; ++c) {
        const auto& catalogAlbum = library.catalogAlbums[c];
        const std::size_t artist = libraryArtist(library, catalogAlbum.artist, artistIndex, random);
        DemoLibrary::Album album{libraryID('l', library.albums.size(), random),
                                 c,
                                 artist,
                                 random.between(earliestDateAdded, latestDateAdded),
                                 {}};
        for (std::size_t s = 0; s < catalogAlbum.songs.size() && library.songs.size() < songCount; ++s) {
            album.songs.push_back(library.songs.size());
            const bool isUpload = random.chance(2);
            library.songs.push_back({libraryID('i', library.songs.size(), random), catalogAlbum.songs[s],
                                     library.albums.size(), album.dateAdded + static_cast<std::int64_t>(s),
                                     !isUpload && random.chance(5), isUpload});
        }
        library.artists[artist].albums.push_back(library.albums.size());
        library.albums.push_back(std::move(album));
    }
}

std::vector<std::size_t> playlistTracks(std::size_t index, std::size_t songCount, SeededRandom& random) {
    std::size_t length = 0;
    if (index == 0) {
        length = std::min<std::size_t>(songCount, 150 + random.below(100));
    } else if (index != 1 && !random.chance(10)) {
        length = std::min<std::size_t>(songCount, 1 + random.below(120));
    }
    std::vector<std::size_t> tracks;
    for (std::size_t i = 0; i < length; ++i) {
        tracks.push_back(random.below(songCount));
    }
    return tracks;
}

/// The first playlist is long enough to need several pages and the second is always empty.
void generatePlaylists(DemoLibrary& library, SeededRandom& random) {
    const auto count =
        std::max<std::size_t>(3, static_cast<std::size_t>(std::llround(library.songs.size() * 0.003)));
    for (std::size_t index = 0; index < count; ++index) {
        DemoLibrary::Playlist playlist;
        playlist.id = libraryID('p', index, random);
        playlist.name = DemoNames::playlistName(random, index);
        playlist.globalId = "pl.u-" + libraryID('g', index, random).substr(2);
        playlist.dateAdded = random.between(earliestDateAdded, latestDateAdded);
        playlist.canEdit = random.chance(80);
        playlist.isPublic = random.chance(20);
        playlist.hasArtwork = index != 2;
        playlist.tracks = playlistTracks(index, library.songs.size(), random);
        library.playlists.push_back(std::move(playlist));
    }
}

/// Drawn last, so that the rest of the library stays what the seed gave before they existed.
void generateCatalogPlaylists(DemoLibrary& library, SeededRandom& random) {
    static constexpr std::string_view hexDigits = "0123456789abcdef";
    const auto count = std::max<std::size_t>(5, library.catalogAlbums.size() / 10);
    for (std::size_t index = 0; index < count; ++index) {
        std::string id = "pl.";
        for (int i = 0; i < 32; ++i) {
            id += hexDigits[random.below(hexDigits.size())];
        }
        library.catalogPlaylists.push_back({std::move(id), DemoNames::editorialPlaylistName(random)});
    }
}

template <class Items, class Test> std::optional<std::size_t> indexWhere(const Items& items, Test test) {
    const auto found = std::find_if(items.begin(), items.end(), test);
    return found == items.end() ? std::nullopt : std::optional<std::size_t>(found - items.begin());
}

} // namespace

DemoLibrary DemoLibrary::generate(std::size_t songCount, std::uint64_t seed) {
    DemoLibrary library;
    SeededRandom random(seed);
    generateCatalog(library, songCount + songCount / 2 + 60, random);
    fillLibrary(library, songCount, random);
    generatePlaylists(library, random);
    generateCatalogPlaylists(library, random);
    return library;
}

std::optional<std::size_t> DemoLibrary::catalogSongIndex(std::string_view id) const {
    return indexWhere(catalogSongs, [&](const CatalogSong& song) { return song.id == id; });
}

std::optional<DemoLibrary::Addition> DemoLibrary::addCatalogSong(std::size_t catalogSong,
                                                                 std::int64_t dateAdded) {
    if (indexWhere(songs, [&](const Song& song) { return song.catalogSong == catalogSong; })) {
        return std::nullopt;
    }
    // Identifiers of added items depend only on what the library holds, like generated ones.
    SeededRandom random(songs.size() * 0x9E3779B97F4A7C15ULL + catalogSong);
    const std::size_t catalogAlbum = catalogSongs[catalogSong].album;
    Addition addition{songs.size(), albums.size(), true, artists.size(), true};
    const auto artist = indexWhere(artists, [&](const Artist& item) {
        return item.catalogArtist == catalogAlbums[catalogAlbum].artist;
    });
    if (artist) {
        addition.artist = *artist;
        addition.isNewArtist = false;
    } else {
        artists.push_back({libraryID('r', artists.size(), random), catalogAlbums[catalogAlbum].artist, {}});
    }
    if (const auto album =
            indexWhere(albums, [&](const Album& item) { return item.catalogAlbum == catalogAlbum; })) {
        addition.album = *album;
        addition.isNewAlbum = false;
    } else {
        albums.push_back(
            {libraryID('l', albums.size(), random), catalogAlbum, addition.artist, dateAdded, {}});
        artists[addition.artist].albums.push_back(addition.album);
    }
    songs.push_back(
        {libraryID('i', songs.size(), random), catalogSong, addition.album, dateAdded, false, false});

    auto& albumSongs = albums[addition.album].songs;
    const auto trackNumber = [&](std::size_t song) {
        return catalogSongs[songs[song].catalogSong].trackNumber;
    };
    albumSongs.insert(std::upper_bound(albumSongs.begin(), albumSongs.end(), addition.song,
                                       [&](std::size_t lhs, std::size_t rhs) {
                                           return trackNumber(lhs) < trackNumber(rhs);
                                       }),
                      addition.song);
    return addition;
}

} // namespace DemoService
