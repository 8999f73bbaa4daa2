#include "Library/LibrarySortDescriptors.h"

#include "Library/LocalizedStandardComparison.h"

#include <compare>
#include <optional>

namespace Marrowbell {
namespace {

using MarrowbellCore::SortDescriptor;
using MarrowbellCore::SortOrder;

SortOrder sortOrder(MusicSortDirection direction) {
    return direction == MusicSortDirection::descending ? SortOrder::reverse : SortOrder::forward;
}

std::weak_ordering naturalOrder(double lhs, double rhs) {
    return std::weak_order(lhs, rhs);
}
std::weak_ordering naturalOrder(std::int64_t lhs, std::int64_t rhs) {
    return lhs <=> rhs;
}
std::weak_ordering naturalOrder(const Foundation::Date& lhs, const Foundation::Date& rhs) {
    return naturalOrder(lhs.timeIntervalSinceReferenceDate, rhs.timeIntervalSinceReferenceDate);
}

/// Natural order of optional values, an absent one first.
struct NaturalOrder {
    template <class Value> std::weak_ordering operator()(const Value& lhs, const Value& rhs) const {
        return naturalOrder(lhs, rhs);
    }
    template <class Value>
    std::weak_ordering operator()(const std::optional<Value>& lhs, const std::optional<Value>& rhs) const {
        if (lhs && rhs) {
            return naturalOrder(*lhs, *rhs);
        }
        return lhs.has_value() <=> rhs.has_value();
    }
};

/// Orders records of type `Record` by `field`, texts localized, everything else naturally.
template <class Record> struct Orderer {
    SortOrder order;
    LocalizedStandardComparison text;

    template <class Field> SortDescriptor<Record> byText(Field Record::*field) const {
        return SortDescriptor<Record>::keyPath(field, text, order)
            .withSortKeys([field, text = text](const Record& record) { return text.sortKey(record.*field); });
    }
    template <class Field> SortDescriptor<Record> byValue(Field Record::*field) const {
        return SortDescriptor<Record>::keyPath(field, NaturalOrder{}, order);
    }
};

} // namespace

SortDescriptor<MarrowbellCore::LocalSong>
songSortDescriptor(SongSortOrder order, MusicSortDirection direction, const QLocale& locale) {
    using MarrowbellCore::LocalSong;
    const Orderer<LocalSong> by{sortOrder(direction), LocalizedStandardComparison(locale)};
    switch (order) {
    case SongSortOrder::album:
        return by.byText(&LocalSong::albumTitle);
    case SongSortOrder::artist:
        return by.byText(&LocalSong::artistName);
    case SongSortOrder::dateAdded:
        return by.byValue(&LocalSong::order);
    case SongSortOrder::duration:
        return by.byValue(&LocalSong::duration);
    case SongSortOrder::genre:
        return by.byText(&LocalSong::genre);
    case SongSortOrder::releaseDate:
        return by.byValue(&LocalSong::releaseDate);
    case SongSortOrder::title:
        break;
    }
    return by.byText(&LocalSong::title);
}

SortDescriptor<MarrowbellCore::LocalAlbum>
albumSortDescriptor(AlbumSortOrder order, MusicSortDirection direction, const QLocale& locale) {
    using MarrowbellCore::LocalAlbum;
    const Orderer<LocalAlbum> by{sortOrder(direction), LocalizedStandardComparison(locale)};
    switch (order) {
    case AlbumSortOrder::artist:
        return by.byText(&LocalAlbum::artistName);
    case AlbumSortOrder::genre:
        return by.byText(&LocalAlbum::genre);
    case AlbumSortOrder::releaseDate:
        return by.byValue(&LocalAlbum::releaseDate);
    case AlbumSortOrder::dateAdded:
        return by.byValue(&LocalAlbum::dateAdded);
    case AlbumSortOrder::title:
        break;
    }
    return by.byText(&LocalAlbum::title);
}

SortDescriptor<MarrowbellCore::LocalArtist>
artistSortDescriptor(ArtistsSortOrder order, MusicSortDirection direction, const QLocale& locale) {
    using MarrowbellCore::LocalArtist;
    const Orderer<LocalArtist> by{sortOrder(direction), LocalizedStandardComparison(locale)};
    return order == ArtistsSortOrder::genre ? by.byText(&LocalArtist::genre) : by.byText(&LocalArtist::name);
}

SortDescriptor<MarrowbellCore::LocalPlaylist>
playlistSortDescriptor(PlaylistSortOrder order, MusicSortDirection direction, const QLocale& locale) {
    using MarrowbellCore::LocalPlaylist;
    const Orderer<LocalPlaylist> by{sortOrder(direction), LocalizedStandardComparison(locale)};
    return order == PlaylistSortOrder::dateAdded ? by.byValue(&LocalPlaylist::dateAdded)
                                                 : by.byText(&LocalPlaylist::name);
}

} // namespace Marrowbell
