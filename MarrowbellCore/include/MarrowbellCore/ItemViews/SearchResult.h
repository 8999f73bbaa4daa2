#pragma once

#include "MarrowbellCore/Store/LocalAlbum.h"
#include "MarrowbellCore/Store/LocalArtist.h"
#include "MarrowbellCore/Store/LocalPlaylist.h"
#include "MarrowbellCore/Store/LocalSong.h"

#include <Foundation/URL.h>
#include <MusicKit/CatalogItems.h>
#include <MusicKit/Song.h>
#include <cstddef>
#include <optional>
#include <string>
#include <variant>

namespace MarrowbellCore {

/// One search hit: a stored record, a catalog item or a personal recommendation.
class SearchResult {
public:
    /// The cases, in the order that counts for hashing.
    enum class Case {
        playlist,
        album,
        artist,
        song,
        catalogPlaylist,
        catalogAlbum,
        catalogArtist,
        catalogSong,
        madeForYou,
        station
    };

    static SearchResult playlist(LocalPlaylist record) { return make<Case::playlist>(std::move(record)); }
    static SearchResult album(LocalAlbum record) { return make<Case::album>(std::move(record)); }
    static SearchResult artist(LocalArtist record) { return make<Case::artist>(std::move(record)); }
    static SearchResult song(LocalSong record) { return make<Case::song>(std::move(record)); }
    static SearchResult catalogPlaylist(MusicKit::Playlist item) {
        return make<Case::catalogPlaylist>(std::move(item));
    }
    static SearchResult catalogAlbum(MusicKit::Album item) {
        return make<Case::catalogAlbum>(std::move(item));
    }
    static SearchResult catalogArtist(MusicKit::Artist item) {
        return make<Case::catalogArtist>(std::move(item));
    }
    static SearchResult catalogSong(MusicKit::Song item) { return make<Case::catalogSong>(std::move(item)); }
    static SearchResult madeForYou(MusicKit::MusicPersonalRecommendation::Item item) {
        return make<Case::madeForYou>(std::move(item));
    }
    static SearchResult station(MusicKit::MusicPersonalRecommendation::Item item) {
        return make<Case::station>(std::move(item));
    }

    Case resultCase() const { return static_cast<Case>(value_.index()); }
    /// The carried value of case `C`, or null when this result is of another case.
    template <Case C> const auto* get() const { return std::get_if<static_cast<std::size_t>(C)>(&value_); }

    std::string id() const;
    std::string name() const;
    /// Stored records give their stored URL; catalog and recommendation items their artwork at 64 by 64.
    std::optional<Foundation::URL> artworkURL() const;
    std::string thumbnailID() const;

    bool operator==(const SearchResult& other) const;
    std::size_t hash() const;

private:
    using Value =
        std::variant<LocalPlaylist, LocalAlbum, LocalArtist, LocalSong, MusicKit::Playlist, MusicKit::Album,
                     MusicKit::Artist, MusicKit::Song, MusicKit::MusicPersonalRecommendation::Item,
                     MusicKit::MusicPersonalRecommendation::Item>;

    template <Case C, class T> static SearchResult make(T value) {
        return SearchResult(Value(std::in_place_index<static_cast<std::size_t>(C)>, std::move(value)));
    }
    explicit SearchResult(Value value)
        : value_(std::move(value)) {}

    Value value_;
};

} // namespace MarrowbellCore

template <> struct std::hash<MarrowbellCore::SearchResult> {
    std::size_t operator()(const MarrowbellCore::SearchResult& result) const noexcept {
        return result.hash();
    }
};
