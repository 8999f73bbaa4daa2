#pragma once

#include "Library/SortOrders.h"

#include <QtGlobal>

namespace Marrowbell {

// The sort choice as the settings store it: each order's raw value, and the direction (1 for descending).
// Values the enumerations do not know map to each list's first order by title (or name), and ascending.

/// 0...6; anything else reads as title.
SongSortOrder songSortOrderFromStored(qint64 value);
/// 0...4; anything else reads as title.
AlbumSortOrder albumSortOrderFromStored(qint64 value);
/// 1 is genre; anything else reads as name.
ArtistsSortOrder artistsSortOrderFromStored(qint64 value);
/// 1 is dateAdded; anything else reads as title.
PlaylistSortOrder playlistSortOrderFromStored(qint64 value);
/// 1 is descending; anything else reads as ascending.
MusicSortDirection sortDirectionFromStored(qint64 value);

} // namespace Marrowbell
