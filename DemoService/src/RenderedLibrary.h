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
/// Immutable after construction; safe to read from any number of threads.
class RenderedLibrary {
public:
    /// `baseURL` prefixes the artwork templates, so that artwork is served by the same service.
    RenderedLibrary(const DemoLibrary& library, const std::string& baseURL);

    enum class Kind { songs, albums, artists, playlists };

    std::size_t count(Kind kind) const;
    /// The position-th resource when the list is sorted newest-added first, or in library order.
    std::size_t indexAt(Kind kind, std::size_t position, bool newestFirst) const;
    /// Appends one resource; songs may carry their artists and albums, artists their catalog artist.
    void append(std::string& out, Kind kind, std::size_t index, bool withRelationships) const;

    std::optional<std::size_t> albumIndex(std::string_view id) const;
    std::optional<std::size_t> artistIndex(std::string_view id) const;
    std::optional<std::size_t> playlistIndex(std::string_view id) const;

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

    std::vector<Resource> songs_;
    std::vector<Resource> albums_;
    std::vector<Resource> artists_;
    std::vector<Resource> playlists_;
    std::vector<std::size_t> songsNewestFirst_;
    std::vector<std::size_t> albumsNewestFirst_;
    std::vector<std::size_t> playlistsNewestFirst_;
    std::unordered_map<std::string, std::size_t> albumIndexes_;
    std::unordered_map<std::string, std::size_t> artistIndexes_;
    std::unordered_map<std::string, std::size_t> playlistIndexes_;
};

} // namespace DemoService
