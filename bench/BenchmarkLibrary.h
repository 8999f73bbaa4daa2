#pragma once

#include <MarrowbellCore/Store/IncomingAlbum.h>
#include <MarrowbellCore/Store/IncomingArtist.h>
#include <MarrowbellCore/Store/IncomingPlaylist.h>
#include <MarrowbellCore/Store/IncomingSong.h>
#include <cstdint>
#include <string>
#include <vector>

namespace Benchmark {

/// A realistic library of `songCount` songs: about 8% as many albums, 2.5% artists and 0.3% playlists,
/// Unicode titles, play parameters on 99% of the songs. The same count always gives the same library.
struct GeneratedLibrary {
    std::vector<MarrowbellCore::IncomingSong> songs;
    std::vector<MarrowbellCore::IncomingAlbum> albums;
    std::vector<MarrowbellCore::IncomingArtist> artists;
    std::vector<MarrowbellCore::IncomingPlaylist> playlists;
    /// For each song, the index of its album and of its artist.
    std::vector<std::size_t> albumOfSong;
    std::vector<std::size_t> artistOfSong;
    /// For each playlist, the indexes of its songs.
    std::vector<std::vector<std::size_t>> playlistTracks;
};

/// Artwork addresses for a library whose artwork is never loaded: nothing listens at this loopback port, so
/// a load would fail at once, and never leave the machine.
inline constexpr const char* artworkNowhere = "http://127.0.0.1:9";

/// The library's artwork lies under `artworkBaseURL` ("http://host:port") at the demo service's artwork
/// path, so that a view that shows it loads it from the demo service.
GeneratedLibrary generateLibrary(std::size_t songCount, const std::string& artworkBaseURL);

} // namespace Benchmark
