#pragma once

#include "MusicKit/Artwork.h"
#include "MusicKit/CatalogItems.h"
#include "MusicKit/MusicItemID.h"
#include "MusicKit/Song.h"

#include <optional>
#include <string>
#include <variant>

namespace MusicKit {

/// A music video in the player's queue: the one playable item that is not a song.
struct MusicVideo {
    MusicItemID id;
    std::string title;

    bool operator==(const MusicVideo& other) const { return id == other.id; }
};

/// One entry of the player's queue: what the player shows for it, and the item it plays when known.
/// `id` is unique within the player and stays with the entry while the queue is edited.
struct MusicPlayerQueueEntry {
    using Item = std::variant<Song, MusicVideo, Station>;

    std::string id;
    std::string title;
    std::optional<std::string> subtitle;
    std::optional<Artwork> artwork;
    std::optional<Item> item;

    /// The song this entry plays, or null when its item is absent or not a song.
    const Song* song() const { return item ? std::get_if<Song>(&*item) : nullptr; }
};

} // namespace MusicKit
