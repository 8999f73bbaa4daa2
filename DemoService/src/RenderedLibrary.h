#pragma once

#include "DemoService/DemoLibrary.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace DemoService {

/// The JSON text of every library resource, rendered once so that a page is only concatenation.
/// Not synchronised: any number of threads may read at once, but add() must run alone.
class RenderedLibrary {
public:
    /// `baseURL` prefixes the artwork templates, so that artwork is served by the same service.
    RenderedLibrary(const DemoLibrary& library, std::string baseURL);

    enum class Kind { songs, albums, artists, playlists };

    std::size_t count(Kind kind) const;
    /// The position-th resource when the list is sorted newest-added first, or in library order.
    std::size_t indexAt(Kind kind, std::size_t position, bool newestFirst) const;
    /// Appends one resource; songs may carry their artists and albums, artists their catalog artist.
    void append(std::string& out, Kind kind, std::size_t index, bool withRelationships) const;

    /// The library index of the resource of `kind` with identifier `id`.
    std::optional<std::size_t> index(Kind kind, std::string_view id) const;

    /// Takes in what `library` gained by `addition`, which it already holds; the newest-first
    /// orders keep their sorting by date added.
    void add(const DemoLibrary& library, const DemoLibrary::Addition& addition);

private:
    struct Resource {
        /// Everything but the closing brace.
        std::string body;
        /// A "relationships" member with its leading comma, or empty.
        std::string relationships;
    };

    static Resource renderSong(const DemoLibrary& library, const DemoLibrary::Song& song,
                               const std::string& baseURL);
    static Resource renderAlbum(const DemoLibrary& library, const DemoLibrary::Album& album,
                                const std::string& baseURL);
    static Resource renderArtist(const DemoLibrary& library, const DemoLibrary::Artist& artist,
                                 const std::string& baseURL);
    static Resource renderPlaylist(const DemoLibrary::Playlist& playlist, const std::string& baseURL);
    const std::vector<Resource>& resources(Kind kind) const;
    const std::unordered_map<std::string, std::size_t>& indexes(Kind kind) const;

    std::string baseURL_;
    std::vector<Resource> songs_;
    std::vector<Resource> albums_;
    std::vector<Resource> artists_;
    std::vector<Resource> playlists_;
    std::vector<std::size_t> songsNewestFirst_;
    std::vector<std::size_t> albumsNewestFirst_;
    std::vector<std::size_t> playlistsNewestFirst_;
    std::unordered_map<std::string, std::size_t> songIndexes_;
    std::unordered_map<std::string, std::size_t> albumIndexes_;
    std::unordered_map<std::string, std::size_t> artistIndexes_;
    std::unordered_map<std::string, std::size_t> playlistIndexes_;
};

} // namespace DemoService
