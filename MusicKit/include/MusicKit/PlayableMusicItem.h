#pragma once

#include "MusicKit/MusicItemID.h"
#include "MusicKit/PlayParameters.h"

#include <concepts>
#include <optional>

namespace MusicKit {

/// An item the service can identify.
template <class Item>
concept MusicItem = requires(const Item& item) {
    { item.id() } -> std::convertible_to<MusicItemID>;
};

/// An item the player can queue: it has an id and, when playable, play parameters, held or decoded on
/// request.
template <class Item>
concept PlayableMusicItem = MusicItem<Item> &&(
    requires(const Item& item) {
        { item.playParameters } -> std::convertible_to<std::optional<PlayParameters>>;
    } ||
    requires(const Item& item) {
        { item.playParameters() } -> std::convertible_to<std::optional<PlayParameters>>;
    });

} // namespace MusicKit
