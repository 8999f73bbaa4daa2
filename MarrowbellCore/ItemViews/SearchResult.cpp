#include "MarrowbellCore/ItemViews/SearchResult.h"

#include <Foundation/Text.h>

namespace MarrowbellCore {
namespace {

std::optional<Foundation::URL> sized(const std::optional<MusicKit::Artwork>& artwork) {
    return artwork ? artwork->url(64, 64) : std::nullopt;
}

std::string prefixFor(SearchResult::Case resultCase) {
    switch (resultCase) {
    case SearchResult::Case::playlist:
    case SearchResult::Case::catalogPlaylist:
        return "playlist-";
    case SearchResult::Case::album:
    case SearchResult::Case::catalogAlbum:
        return "album-";
    case SearchResult::Case::artist:
    case SearchResult::Case::catalogArtist:
        return "artist-";
    case SearchResult::Case::song:
    case SearchResult::Case::catalogSong:
        return "song-";
    case SearchResult::Case::madeForYou:
        return "made-for-you-";
    case SearchResult::Case::station:
        return "station-";
    }
    return {};
}

struct IdentifierOf {
    template <class Record>
    requires requires(const Record& record) { record.identifier; }
    std::string operator()(const Record& record) const { return record.identifier; }
    template <class Item> std::string operator()(const Item& item) const { return item.id.rawValue(); }
};

struct NameOf {
    std::string operator()(const LocalPlaylist& record) const { return record.name; }
    std::string operator()(const LocalAlbum& record) const { return record.title; }
    std::string operator()(const LocalArtist& record) const { return record.name; }
    std::string operator()(const LocalSong& record) const { return record.title; }
    std::string operator()(const MusicKit::Playlist& item) const { return item.name; }
    std::string operator()(const MusicKit::Album& item) const { return item.title; }
    std::string operator()(const MusicKit::Artist& item) const { return item.name; }
    std::string operator()(const MusicKit::Song& item) const { return item.title; }
    std::string operator()(const MusicKit::MusicPersonalRecommendation::Item& item) const {
        return item.title;
    }
};

struct ArtworkURLOf {
    template <class Record>
    requires requires(const Record& record) { record.identifier; }
    std::optional<Foundation::URL> operator()(const Record& record) const { return record.artworkURL; }
    template <class Item> std::optional<Foundation::URL> operator()(const Item& item) const {
        return sized(item.artwork);
    }
};

} // namespace

std::string SearchResult::id() const {
    return std::visit(IdentifierOf{}, value_);
}

std::string SearchResult::name() const {
    return std::visit(NameOf{}, value_);
}

std::optional<Foundation::URL> SearchResult::artworkURL() const {
    return std::visit(ArtworkURLOf{}, value_);
}

std::string SearchResult::thumbnailID() const {
    if (const auto* song = get<Case::song>()) {
        return song->songIDForArtwork();
    }
    return prefixFor(resultCase()) + id();
}

bool SearchResult::operator==(const SearchResult& other) const {
    // Stored records compare by identifier, catalog items by their own equality: both are operator==.
    return value_ == other.value_;
}

std::size_t SearchResult::hash() const {
    const auto position = value_.index();
    const std::size_t itemHash = std::visit(
        [](const auto& value) { return std::hash<std::decay_t<decltype(value)>>{}(value); }, value_);
    return itemHash ^ (position + 0x9e3779b97f4a7c15ULL + (itemHash << 6) + (itemHash >> 2));
}

} // namespace MarrowbellCore
