#pragma once

#include "MusicKit/Artwork.h"
#include "MusicKit/MusicItemID.h"

#include <optional>
#include <string>
#include <vector>

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

/// A station: an endless run of songs chosen by the service, so it has no length of its own.
struct Station {
    MusicItemID id;
    std::string name;
    std::optional<Artwork> artwork;

    bool operator==(const Station& other) const { return id == other.id; }
};

/// An item of a personal recommendation: an album, a playlist or a station.
struct MusicPersonalRecommendationItem {
    enum class Kind { album, playlist, station };

    MusicItemID id;
    std::string title;
    std::optional<Artwork> artwork;
    Kind kind = Kind::playlist;

    bool operator==(const MusicPersonalRecommendationItem& other) const { return id == other.id; }
};

/// A group of items the service recommends to the user, such as "Made for You".
struct MusicPersonalRecommendation {
    using Item = MusicPersonalRecommendationItem;

    MusicItemID id;
    std::optional<std::string> title;
    std::vector<Item> items;
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
template <> struct std::hash<MusicKit::Station> {
    std::size_t operator()(const MusicKit::Station& item) const noexcept {
        return std::hash<MusicKit::MusicItemID>{}(item.id);
    }
};
template <> struct std::hash<MusicKit::MusicPersonalRecommendationItem> {
    std::size_t operator()(const MusicKit::MusicPersonalRecommendationItem& item) const noexcept {
        return std::hash<MusicKit::MusicItemID>{}(item.id);
    }
};
