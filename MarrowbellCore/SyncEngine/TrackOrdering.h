#pragma once

#include <Foundation/Text.h>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace MarrowbellCore::TrackOrdering {

/// Track order: ascending track number, absent counting as 0. Artist order: ascending album name
/// (absent counting as empty text, compared by Unicode scalar values of the composed form, so
/// case-sensitive), then track number. Both sorts are stable. `trackNumber(item)` and `albumName(item)`
/// read the keys of one item.

template <class Item, class TrackNumber>
void sortInTrackOrder(std::vector<Item>& items, TrackNumber trackNumber) {
    std::stable_sort(items.begin(), items.end(), [&](const Item& lhs, const Item& rhs) {
        return trackNumber(lhs).value_or(0) < trackNumber(rhs).value_or(0);
    });
}

template <class Item, class AlbumName, class TrackNumber>
void sortInArtistOrder(std::vector<Item>& items, AlbumName albumName, TrackNumber trackNumber) {
    // Composing each name once keeps the comparisons cheap.
    std::vector<std::pair<std::string, std::size_t>> keys;
    keys.reserve(items.size());
    for (std::size_t index = 0; index < items.size(); ++index) {
        const std::optional<std::string>& name = albumName(items[index]);
        keys.emplace_back(name ? Foundation::canonicalComposition(*name) : std::string(), index);
    }
    std::stable_sort(keys.begin(), keys.end(), [&](const auto& lhs, const auto& rhs) {
        if (const int order = lhs.first.compare(rhs.first); order != 0) {
            return order < 0;
        }
        return trackNumber(items[lhs.second]).value_or(0) < trackNumber(items[rhs.second]).value_or(0);
    });
    std::vector<Item> sorted;
    sorted.reserve(items.size());
    for (const auto& key : keys) {
        sorted.push_back(std::move(items[key.second]));
    }
    items = std::move(sorted);
}

} // namespace MarrowbellCore::TrackOrdering
