#pragma once

#include "MusicKit/Artwork.h"
#include "MusicKit/MusicItemID.h"
#include "MusicKit/PlayParameters.h"

#include <optional>
#include <string>

namespace MusicKit {

/// A song of the service's catalog or of the user's library. Songs are equal when their ids are.
struct Song {
    MusicItemID id;
    std::string title;
    std::string artistName;
    std::optional<std::string> albumTitle;
    /// Length in seconds, when the service knows it.
    std::optional<double> duration;
    std::optional<Artwork> artwork;
    std::optional<PlayParameters> playParameters;

    bool operator==(const Song& other) const { return id == other.id; }
};

} // namespace MusicKit

template <> struct std::hash<MusicKit::Song> {
    std::size_t operator()(const MusicKit::Song& song) const noexcept {
        return std::hash<MusicKit::MusicItemID>{}(song.id);
    }
};
