#pragma once

#include <QLatin1StringView>

/// Every key the application stores in its Defaults, declared once. Areas add their keys here.
namespace Marrowbell::DefaultsKeys {

// List appearance, written by the settings window and read by the list rows.
inline constexpr QLatin1StringView artworkSize{"artworkSize"};
inline constexpr QLatin1StringView fontWeight{"fontWeight"};
inline constexpr QLatin1StringView padding{"padding"};
inline constexpr QLatin1StringView limitTitlesToOneLine{"limitTitlesToOneLine"};
inline constexpr QLatin1StringView showSubtitles{"showSubtitles"};
inline constexpr QLatin1StringView useAlternatingRowColors{"useAlternatingRowColors"};

// Library state.
inline constexpr QLatin1StringView performedFullSync{"performedFullSync"};
/// The loopback port of the bundled demo service, whose addresses the library stores.
inline constexpr QLatin1StringView demoServicePort{"demoServicePort"};

// Desktop notifications when a new song starts, written by the notification settings.
inline constexpr QLatin1StringView postNotificationsWhenSongChanges{"postNotificationsWhenSongChanges"};

// The library lists: the user's sort choice (integer raw values) and the time of each list's last refresh
// from the service (seconds since 2001-01-01). A track-sync prefix is followed by the container's identifier.
inline constexpr QLatin1StringView sortPlaylistsBy{"sortPlaylistsBy"};
inline constexpr QLatin1StringView sortPlaylistsDirection{"sortPlaylistsDirection"};
inline constexpr QLatin1StringView sortAlbumsBy{"sortAlbumsBy"};
inline constexpr QLatin1StringView sortAlbumsDirection{"sortAlbumsDirection"};
inline constexpr QLatin1StringView sortArtistsBy{"sortArtistsBy"};
inline constexpr QLatin1StringView sortArtistsDirection{"sortArtistsDirection"};
inline constexpr QLatin1StringView sortSongsBy{"sortSongsBy"};
inline constexpr QLatin1StringView sortSongsDirection{"sortSongsDirection"};
inline constexpr QLatin1StringView lastPlaylistSync{"lastPlaylistSync"};
inline constexpr QLatin1StringView lastAlbumSync{"lastAlbumSync"};
inline constexpr QLatin1StringView lastArtistSync{"lastArtistSync"};
inline constexpr QLatin1StringView lastSongSync{"lastSongSync"};
inline constexpr QLatin1StringView lastPlaylistTrackSyncPrefix{"lastPlaylistTrackSync-"};
inline constexpr QLatin1StringView lastAlbumTrackSyncPrefix{"lastAlbumTrackSync-"};
inline constexpr QLatin1StringView lastArtistTrackSyncPrefix{"lastArtistTrackSync-"};

} // namespace Marrowbell::DefaultsKeys
