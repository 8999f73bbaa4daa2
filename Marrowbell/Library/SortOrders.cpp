#include "Library/SortOrders.h"

namespace Marrowbell {

QString sortTitle(SongSortOrder order) {
    switch (order) {
    case SongSortOrder::album:
        return QStringLiteral("Album");
    case SongSortOrder::artist:
        return QStringLiteral("Artist");
    case SongSortOrder::dateAdded:
        return QStringLiteral("Date Added");
    case SongSortOrder::duration:
        return QStringLiteral("Duration");
    case SongSortOrder::genre:
        return QStringLiteral("Genre");
    case SongSortOrder::releaseDate:
        return QStringLiteral("Release Date");
    case SongSortOrder::title:
        break;
    }
    return QStringLiteral("Title");
}

QString sortTitle(AlbumSortOrder order) {
    switch (order) {
    case AlbumSortOrder::artist:
        return sortTitle(SongSortOrder::artist);
    case AlbumSortOrder::genre:
        return sortTitle(SongSortOrder::genre);
    case AlbumSortOrder::releaseDate:
        return sortTitle(SongSortOrder::releaseDate);
    case AlbumSortOrder::dateAdded:
        return sortTitle(SongSortOrder::dateAdded);
    case AlbumSortOrder::title:
        break;
    }
    return sortTitle(SongSortOrder::title);
}

QString sortTitle(ArtistsSortOrder order) {
    return order == ArtistsSortOrder::genre ? sortTitle(SongSortOrder::genre) : QStringLiteral("Name");
}

QString sortTitle(PlaylistSortOrder order) {
    return sortTitle(order == PlaylistSortOrder::dateAdded ? SongSortOrder::dateAdded : SongSortOrder::title);
}

QString sortTitle(MusicSortDirection direction) {
    return direction == MusicSortDirection::descending ? QStringLiteral("Descending")
                                                       : QStringLiteral("Ascending");
}

} // namespace Marrowbell
