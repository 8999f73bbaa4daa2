#include "LibraryModels/StoredSortChoice.h"

namespace Marrowbell {
namespace {

template <class Order, std::size_t Count>
Order fromRawValue(qint64 value, const std::array<Order, Count>& cases, Order fallback) {
    if (value < 0 || value >= static_cast<qint64>(Count)) {
        return fallback;
    }
    return cases[static_cast<std::size_t>(value)];
}

} // namespace

SongSortOrder songSortOrderFromStored(qint64 value) {
    return fromRawValue(value, allSongSortOrders, SongSortOrder::title);
}

AlbumSortOrder albumSortOrderFromStored(qint64 value) {
    return fromRawValue(value, allAlbumSortOrders, AlbumSortOrder::title);
}

ArtistsSortOrder artistsSortOrderFromStored(qint64 value) {
    return value == 1 ? ArtistsSortOrder::genre : ArtistsSortOrder::name;
}

PlaylistSortOrder playlistSortOrderFromStored(qint64 value) {
    return value == 1 ? PlaylistSortOrder::dateAdded : PlaylistSortOrder::title;
}

MusicSortDirection sortDirectionFromStored(qint64 value) {
    return value == 1 ? MusicSortDirection::descending : MusicSortDirection::ascending;
}

} // namespace Marrowbell
