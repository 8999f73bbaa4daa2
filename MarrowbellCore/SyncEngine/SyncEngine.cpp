#include "MarrowbellCore/Sync/SyncEngine.h"

#include "LibraryFetch.h"
#include "MarrowbellCore/Store/LocalDatabase.h"
#include "MarrowbellCore/Sync/SyncNotifications.h"
#include "RelationRebuild.h"
#include "Remote/RemoteAlbum.h"
#include "Remote/RemoteArtist.h"
#include "Remote/RemotePlaylist.h"
#include "Remote/RemoteSong.h"
#include "RemoteConversions.h"
#include "SongListing.h"
#include "SongOrder.h"

#include <Foundation/CancellationError.h>
#include <MusicKit/MusicAuthorization.h>

namespace MarrowbellCore {
namespace {

/// A kind step: `fetchRecords` fetches every page and converts it; the records replace the stored items.
template <class FetchRecords>
void syncKind(LocalDatabase& database, const std::stop_token& stopToken, FetchRecords fetchRecords) {
    Foundation::checkCancellation(stopToken);
    const auto records = fetchRecords();
    Foundation::checkCancellation(stopToken);
    database.sync(records, stopToken);
    Foundation::checkCancellation(stopToken);
}

/// Every page of a kind's listing, converted by `convert` as it arrives, so that only the records pile up.
template <class Resource, class Convert>
auto fetchConverted(void (*forEachPage)(Foundation::Progress&, std::stop_token,
                                        const LibraryFetch::TakePage<Resource>&),
                    Foundation::Progress& progress, const std::stop_token& stopToken, Convert convert) {
    decltype(convert(std::vector<Resource>())) records;
    forEachPage(progress, stopToken, [&](RemotePage<Resource>& page) {
        auto converted = convert(page.data);
        records.insert(records.end(), std::make_move_iterator(converted.begin()),
                       std::make_move_iterator(converted.end()));
    });
    return records;
}

/// Fetches and stores the library's songs and gives what the relation rebuild needs of them; the records
/// themselves are let go once stored.
SongMemberships storeSongListing(LocalDatabase& database, std::int64_t now, Foundation::Progress& progress,
                                 const std::stop_token& stopToken) {
    auto listing = SongListing::fetch(now, progress, stopToken);
    Foundation::checkCancellation(stopToken);
    database.sync(listing.songs, stopToken);
    return std::move(listing.memberships);
}

/// Runs one step with a progress nobody watches and posts `notification` when it succeeds.
template <class Step> void syncOneKind(Step step, const char* notification) {
    const auto progress = Foundation::Progress::make();
    step(*progress);
    SyncNotificationCenter::defaultCenter().post(notification);
}

} // namespace

SyncEngine::SyncEngine(std::shared_ptr<LocalDatabase> database)
    : database_(std::move(database)) {}

void SyncEngine::syncAll(Foundation::Progress& progress, std::stop_token stopToken) {
    // The answer does not matter: without access the first fetch fails with the service's own error.
    // Cancellation is left to the first checkpoint, after the children are attached.
    MusicKit::MusicAuthorization::request();

    const auto playlists = Foundation::Progress::make(100);
    const auto albums = Foundation::Progress::make(100);
    const auto artists = Foundation::Progress::make(100);
    const auto songs = Foundation::Progress::make(100);
    progress.addChild(playlists, 10);
    progress.addChild(albums, 15);
    progress.addChild(artists, 15);
    progress.addChild(songs, 60);

    syncPlaylists(*playlists, stopToken);
    syncAlbums(*albums, stopToken);
    syncArtists(*artists, stopToken);
    syncSongs(*songs, stopToken);
    postSyncCompletedNotifications();
}

void SyncEngine::syncPlaylists(std::stop_token stopToken) {
    syncOneKind([&](Foundation::Progress& progress) { syncPlaylists(progress, stopToken); },
                SyncNotification::playlistSyncCompleted);
}

void SyncEngine::syncAlbums(std::stop_token stopToken) {
    syncOneKind([&](Foundation::Progress& progress) { syncAlbums(progress, stopToken); },
                SyncNotification::albumSyncCompleted);
}

void SyncEngine::syncArtists(std::stop_token stopToken) {
    syncOneKind([&](Foundation::Progress& progress) { syncArtists(progress, stopToken); },
                SyncNotification::artistSyncCompleted);
}

void SyncEngine::syncSongs(std::stop_token stopToken) {
    syncOneKind([&](Foundation::Progress& progress) { syncSongs(progress, stopToken); },
                SyncNotification::songSyncCompleted);
}

void SyncEngine::syncPlaylists(Foundation::Progress& progress, std::stop_token stopToken) {
    syncKind(*database_, stopToken, [&] {
        return fetchConverted(&LibraryFetch::forEachPlaylistPage, progress, stopToken, incomingPlaylists);
    });
}

void SyncEngine::syncAlbums(Foundation::Progress& progress, std::stop_token stopToken) {
    syncKind(*database_, stopToken, [&] {
        return fetchConverted(&LibraryFetch::forEachAlbumPage, progress, stopToken, incomingAlbums);
    });
}

void SyncEngine::syncArtists(Foundation::Progress& progress, std::stop_token stopToken) {
    syncKind(*database_, stopToken, [&] {
        return fetchConverted(&LibraryFetch::forEachArtistPage, progress, stopToken, incomingArtists);
    });
}

void SyncEngine::syncSongs(Foundation::Progress& progress, std::stop_token stopToken) {
    Foundation::checkCancellation(stopToken);
    const auto now = SongOrder::syncTimeNow();
    const auto memberships = storeSongListing(*database_, now, progress, stopToken);
    Foundation::checkCancellation(stopToken);
    const auto stored = database_->allSongTrackMetadata(stopToken);
    RelationRebuild::rebuildAlbumSongs(*database_, memberships, stored, stopToken);
    RelationRebuild::rebuildArtistSongs(*database_, memberships, stored, stopToken);
    Foundation::checkCancellation(stopToken);
}

void SyncEngine::postSyncCompletedNotifications() {
    auto& center = SyncNotificationCenter::defaultCenter();
    center.post(SyncNotification::playlistSyncCompleted);
    center.post(SyncNotification::albumSyncCompleted);
    center.post(SyncNotification::artistSyncCompleted);
    center.post(SyncNotification::songSyncCompleted);
}

} // namespace MarrowbellCore
