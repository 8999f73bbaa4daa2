#pragma once

#include "Library/SortOrders.h"

#include <MarrowbellCore/Store/LocalAlbum.h>
#include <MarrowbellCore/Store/LocalArtist.h>
#include <MarrowbellCore/Store/LocalPlaylist.h>
#include <MarrowbellCore/Store/LocalSong.h>
#include <MarrowbellCore/Store/SortDescriptor.h>
#include <QLocale>

namespace Marrowbell {

// The store's sort descriptors for the user's choice of order and direction. Texts compare by
// LocalizedStandardComparison in `locale`, and a sort of many records compares the texts' collation keys
// instead, in the same order; dates, numbers and durations in their natural order; an absent value comes
// first when ascending. Descending reverses the whole order.

/// album: album title; artist: artist name; dateAdded: the stored position; duration; genre; releaseDate;
/// title.
MarrowbellCore::SortDescriptor<MarrowbellCore::LocalSong>
songSortDescriptor(SongSortOrder order, MusicSortDirection direction, const QLocale& locale = QLocale());
MarrowbellCore::SortDescriptor<MarrowbellCore::LocalAlbum>
albumSortDescriptor(AlbumSortOrder order, MusicSortDirection direction, const QLocale& locale = QLocale());
/// name or genre.
MarrowbellCore::SortDescriptor<MarrowbellCore::LocalArtist>
artistSortDescriptor(ArtistsSortOrder order, MusicSortDirection direction, const QLocale& locale = QLocale());
/// title: the playlist's name; dateAdded.
MarrowbellCore::SortDescriptor<MarrowbellCore::LocalPlaylist>
playlistSortDescriptor(PlaylistSortOrder order, MusicSortDirection direction,
                       const QLocale& locale = QLocale());

} // namespace Marrowbell
