#pragma once

#include <MarrowbellCore/Store/IncomingAlbum.h>
#include <MarrowbellCore/Store/IncomingArtist.h>
#include <MarrowbellCore/Store/IncomingPlaylist.h>
#include <MarrowbellCore/Store/IncomingSong.h>
#include <cstdint>
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

GeneratedLibrary generateLibrary(std::size_t songCount);

} // namespace Benchmark
