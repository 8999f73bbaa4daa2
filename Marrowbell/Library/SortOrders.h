#pragma once

#include <QString>
#include <array>

namespace Marrowbell {

// How the songs, albums, artists and playlists lists are ordered. Each enumerator's value is its raw value
// (the integer the list models store in the settings) and its identifier; the arrays hold the cases in menu
// order.

enum class SongSortOrder { album, artist, dateAdded, duration, genre, releaseDate, title };
inline constexpr std::array<SongSortOrder, 7> allSongSortOrders = {
    SongSortOrder::album, SongSortOrder::artist,      SongSortOrder::dateAdded, SongSortOrder::duration,
    SongSortOrder::genre, SongSortOrder::releaseDate, SongSortOrder::title};

enum class AlbumSortOrder { title, artist, genre, releaseDate, dateAdded };
inline constexpr std::array<AlbumSortOrder, 5> allAlbumSortOrders = {
    AlbumSortOrder::title, AlbumSortOrder::artist, AlbumSortOrder::genre, AlbumSortOrder::releaseDate,
    AlbumSortOrder::dateAdded};

enum class ArtistsSortOrder { name, genre };
inline constexpr std::array<ArtistsSortOrder, 2> allArtistsSortOrders = {ArtistsSortOrder::name,
                                                                         ArtistsSortOrder::genre};

enum class PlaylistSortOrder { title, dateAdded };
inline constexpr std::array<PlaylistSortOrder, 2> allPlaylistSortOrders = {PlaylistSortOrder::title,
                                                                           PlaylistSortOrder::dateAdded};

enum class MusicSortDirection { ascending, descending };
inline constexpr std::array<MusicSortDirection, 2> allMusicSortDirections = {MusicSortDirection::ascending,
                                                                             MusicSortDirection::descending};

/// The menu row of each case: "Album", "Artist", "Date Added", "Duration", "Genre", "Release Date", "Title",
/// "Name", "Ascending", "Descending".
QString sortTitle(SongSortOrder order);
QString sortTitle(AlbumSortOrder order);
QString sortTitle(ArtistsSortOrder order);
QString sortTitle(PlaylistSortOrder order);
QString sortTitle(MusicSortDirection direction);

} // namespace Marrowbell
