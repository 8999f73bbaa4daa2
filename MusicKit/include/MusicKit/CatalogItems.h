#pragma once

#include "MusicKit/Artwork.h"
#include "MusicKit/MusicItemID.h"

#include <optional>
#include <string>

namespace MusicKit {

/// Items of the service's catalog or the user's library. Each is equal to another of its kind when
/// their ids are, and hashes by its id.

struct Playlist {
    MusicItemID id;
    std::string name;
    std::optional<Artwork> artwork;

    bool operator==(const Playlist& other) const { return id == other.id; }
};

struct Album {
    MusicItemID id;
    std::string title;
    std::string artistName;
    std::optional<Artwork> artwork;

    bool operator==(const Album& other) const { return id == other.id; }
};

struct Artist {
    MusicItemID id;
    std::string name;
    /// The artist's "artwork" attribute; the service does not always send it.
    std::optional<Artwork> artwork;

    bool operator==(const Artist& other) const { return id == other.id; }
};

/// A personal recommendation: a made-for-you playlist or a station.
struct MusicPersonalRecommendationItem {
    MusicItemID id;
    std::string title;
    std::optional<Artwork> artwork;

    bool operator==(const MusicPersonalRecommendationItem& other) const { return id == other.id; }
};

struct MusicPersonalRecommendation {
    using Item = MusicPersonalRecommendationItem;
};

} // namespace MusicKit

template <> struct std::hash<MusicKit::Playlist> {
    std::size_t operator()(const MusicKit::Playlist& item) const noexcept {
        return std::hash<MusicKit::MusicItemID>{}(item.id);
    }
};
template <> struct std::hash<MusicKit::Album> {
    std::size_t operator()(const MusicKit::Album& item) const noexcept {
        return std::hash<MusicKit::MusicItemID>{}(item.id);
    }
};
template <> struct std::hash<MusicKit::Artist> {
    std::size_t operator()(const MusicKit::Artist& item) const noexcept {
        return std::hash<MusicKit::MusicItemID>{}(item.id);
    }
};
template <> struct std::hash<MusicKit::MusicPersonalRecommendationItem> {
    std::size_t operator()(const MusicKit::MusicPersonalRecommendationItem& item) const noexcept {
        return std::hash<MusicKit::MusicItemID>{}(item.id);
    }
};
