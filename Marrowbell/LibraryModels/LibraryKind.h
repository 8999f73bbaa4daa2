#pragma once

#include "Library/LibrarySortDescriptors.h"
#include "LibraryModels/StoredSortChoice.h"
#include "Model/MainViewModel.h"
#include "Navigation/ContainerKind.h"
#include "Platform/DefaultsKeys.h"

#include <MarrowbellCore/Store/LocalDatabase.h>
#include <MarrowbellCore/Sync/SyncEngine.h>
#include <QLatin1StringView>
#include <QString>
#include <stop_token>
#include <vector>

namespace Marrowbell {

/// What sets the library's lists apart: their settings keys, store reads, syncs, selection on the central
/// model, and the texts of their log entries and error reports. Songs have no selection of containers.
template <class Record> struct LibraryKind;

template <> struct LibraryKind<MarrowbellCore::LocalSong> {
    using Record = MarrowbellCore::LocalSong;
    static constexpr QLatin1StringView sortKey = DefaultsKeys::sortSongsBy;
    static constexpr QLatin1StringView directionKey = DefaultsKeys::sortSongsDirection;
    static constexpr QLatin1StringView lastSyncKey = DefaultsKeys::lastSongSync;
    static constexpr const char* listSkipMessage = "Skipping song sync because there was a recent one";
    static constexpr const char* listFailureName = "load_songs";
    static constexpr const char* listFailureMessage = "Failed to load songs: %@";

    static SongSortOrder sortOrderFromStored(qint64 value) { return songSortOrderFromStored(value); }
    static MarrowbellCore::SortDescriptor<Record> sortDescriptor(SongSortOrder order,
                                                                 MusicSortDirection direction) {
        return songSortDescriptor(order, direction);
    }
    static std::vector<Record> readAll(MarrowbellCore::LocalDatabase& database,
                                       const MarrowbellCore::SortDescriptor<Record>& descriptor) {
        return database.allLibrarySongs(descriptor);
    }
    static void syncAll(MarrowbellCore::SyncEngine& engine, std::stop_token stopToken) {
        engine.syncSongs(stopToken);
    }
};

template <> struct LibraryKind<MarrowbellCore::LocalPlaylist> {
    using Record = MarrowbellCore::LocalPlaylist;
    static constexpr ContainerKind kind = ContainerKind::playlists;
    static constexpr auto selection = &MainViewModel::selectedPlaylistID;
    static constexpr QLatin1StringView sortKey = DefaultsKeys::sortPlaylistsBy;
    static constexpr QLatin1StringView directionKey = DefaultsKeys::sortPlaylistsDirection;
    static constexpr QLatin1StringView lastSyncKey = DefaultsKeys::lastPlaylistSync;
    static constexpr QLatin1StringView trackSyncKeyPrefix = DefaultsKeys::lastPlaylistTrackSyncPrefix;
    static constexpr const char* listSkipMessage = "Skipping playlist sync because there was a recent one";
    static constexpr const char* listFailureName = "load_playlists";
    static constexpr const char* listFailureMessage = "Failed to load playlists: %@";
    static constexpr const char* trackSkipMessage =
        "Skipping playlist track sync because there was a recent one";
    static constexpr const char* selectionFailureName = "load_playlist";
    static constexpr const char* selectionFailureMessage = "Failed to load selected playlist: %@";

    static PlaylistSortOrder sortOrderFromStored(qint64 value) { return playlistSortOrderFromStored(value); }
    static MarrowbellCore::SortDescriptor<Record> sortDescriptor(PlaylistSortOrder order,
                                                                 MusicSortDirection direction) {
        return playlistSortDescriptor(order, direction);
    }
    static std::vector<Record> readAll(MarrowbellCore::LocalDatabase& database,
                                       const MarrowbellCore::SortDescriptor<Record>& descriptor) {
        return database.allPlaylists(descriptor);
    }
    static void syncAll(MarrowbellCore::SyncEngine& engine, std::stop_token stopToken) {
        engine.syncPlaylists(stopToken);
    }
    static QString title(const Record& record) { return QString::fromStdString(record.name); }
};

template <> struct LibraryKind<MarrowbellCore::LocalAlbum> {
    using Record = MarrowbellCore::LocalAlbum;
    static constexpr ContainerKind kind = ContainerKind::albums;
    static constexpr auto selection = &MainViewModel::selectedAlbumID;
    static constexpr QLatin1StringView sortKey = DefaultsKeys::sortAlbumsBy;
    static constexpr QLatin1StringView directionKey = DefaultsKeys::sortAlbumsDirection;
    static constexpr QLatin1StringView lastSyncKey = DefaultsKeys::lastAlbumSync;
    static constexpr QLatin1StringView trackSyncKeyPrefix = DefaultsKeys::lastAlbumTrackSyncPrefix;
    static constexpr const char* listSkipMessage = "Skipping album sync because there was a recent one";
    static constexpr const char* listFailureName = "load_albums";
    static constexpr const char* listFailureMessage = "Failed to load albums: %@";
    static constexpr const char* trackSkipMessage =
        "Skipping album track sync because there was a recent one";
    static constexpr const char* selectionFailureName = "load_selected_album";
    static constexpr const char* selectionFailureMessage = "Failed to load selected album: %@";

    static AlbumSortOrder sortOrderFromStored(qint64 value) { return albumSortOrderFromStored(value); }
    static MarrowbellCore::SortDescriptor<Record> sortDescriptor(AlbumSortOrder order,
                                                                 MusicSortDirection direction) {
        return albumSortDescriptor(order, direction);
    }
    static std::vector<Record> readAll(MarrowbellCore::LocalDatabase& database,
                                       const MarrowbellCore::SortDescriptor<Record>& descriptor) {
        return database.allAlbums(descriptor);
    }
    static void syncAll(MarrowbellCore::SyncEngine& engine, std::stop_token stopToken) {
        engine.syncAlbums(stopToken);
    }
    static QString title(const Record& record) { return QString::fromStdString(record.title); }
};

template <> struct LibraryKind<MarrowbellCore::LocalArtist> {
    using Record = MarrowbellCore::LocalArtist;
    static constexpr ContainerKind kind = ContainerKind::artists;
    static constexpr auto selection = &MainViewModel::selectedArtistID;
    static constexpr QLatin1StringView sortKey = DefaultsKeys::sortArtistsBy;
    static constexpr QLatin1StringView directionKey = DefaultsKeys::sortArtistsDirection;
    static constexpr QLatin1StringView lastSyncKey = DefaultsKeys::lastArtistSync;
    static constexpr QLatin1StringView trackSyncKeyPrefix = DefaultsKeys::lastArtistTrackSyncPrefix;
    static constexpr const char* listSkipMessage = "Skipping artist sync because there was a recent one";
    static constexpr const char* listFailureName = "load_artists";
    static constexpr const char* listFailureMessage = "Failed to load artists: %@";
    static constexpr const char* trackSkipMessage =
        "Skipping artist track sync because there was a recent one";
    static constexpr const char* selectionFailureName = "load_selected_artists";
    static constexpr const char* selectionFailureMessage = "Failed to load selected artists: %@";

    static ArtistsSortOrder sortOrderFromStored(qint64 value) { return artistsSortOrderFromStored(value); }
    static MarrowbellCore::SortDescriptor<Record> sortDescriptor(ArtistsSortOrder order,
                                                                 MusicSortDirection direction) {
        return artistSortDescriptor(order, direction);
    }
    static std::vector<Record> readAll(MarrowbellCore::LocalDatabase& database,
                                       const MarrowbellCore::SortDescriptor<Record>& descriptor) {
        return database.allArtists(descriptor);
    }
    static void syncAll(MarrowbellCore::SyncEngine& engine, std::stop_token stopToken) {
        engine.syncArtists(stopToken);
    }
    static QString title(const Record& record) { return QString::fromStdString(record.name); }
};

} // namespace Marrowbell
