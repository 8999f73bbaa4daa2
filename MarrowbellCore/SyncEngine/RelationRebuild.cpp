#include "MarrowbellCore/LocalDatabase.h"
#include "MarrowbellCore/SyncEngine.h"
#include "Remote/RemoteSong.h"
#include "Store/SQLDatabase.h"
#include "Store/SQLTransaction.h"
#include "Store/StoreStatements.h"
#include "TrackOrdering.h"

#include <unordered_map>

namespace MarrowbellCore {
namespace {

/// The ordering view of one stored song.
struct RemoteTrackMetadata {
    std::int64_t pk = 0;
    std::optional<std::int64_t> trackNumber;
    std::optional<std::string> albumName;
};

using Groups = std::unordered_map<std::int64_t, std::vector<RemoteTrackMetadata>>;
using RelatedResources = std::optional<RemoteSong::Relationships::Resource> RemoteSong::Relationships::*;

template <class Owner>
std::unordered_map<std::string, std::int64_t> ownerKeys(const std::vector<Owner>& owners) {
    std::unordered_map<std::string, std::int64_t> keys;
    keys.reserve(owners.size());
    for (const auto& owner : owners) {
        keys.emplace(owner.identifier, owner.pk);
    }
    return keys;
}

std::unordered_map<std::string, RemoteTrackMetadata> songMetadata(const std::vector<LocalSong>& storedSongs) {
    std::unordered_map<std::string, RemoteTrackMetadata> metadata;
    metadata.reserve(storedSongs.size());
    for (const auto& song : storedSongs) {
        metadata.emplace(song.identifier, RemoteTrackMetadata{song.pk, song.trackNumber, song.albumTitle});
    }
    return metadata;
}

/// Each owner's songs in fetch order, from the songs' relationships to owners that are stored.
Groups groupByOwner(const std::vector<RemoteSong>& songs, const std::vector<LocalSong>& storedSongs,
                    const std::unordered_map<std::string, std::int64_t>& owners, RelatedResources related) {
    const auto metadata = songMetadata(storedSongs);
    Groups groups;
    for (const auto& song : songs) {
        if (!song.relationships || !(*song.relationships.*related) || !(*song.relationships.*related)->data) {
            continue;
        }
        for (const auto& entry : *(*song.relationships.*related)->data) {
            const auto owner = entry.id ? owners.find(*entry.id) : owners.end();
            const auto stored = metadata.find(song.id);
            if (owner == owners.end() || stored == metadata.end()) {
                continue;
            }
            groups[owner->second].push_back(stored->second);
        }
    }
    return groups;
}

/// Writes every group with one batch each. The groups share one transaction for speed; a failing group
/// leaves none of its own rows and ends the rebuild, while the groups written before it stay.
template <class SortGroup>
void writeGroups(LocalDatabase& database, Groups& groups, const char* upsert, SortGroup sortGroup) {
    database.withConnection([&](SQLDatabase& db) {
        SQLTransaction all(db);
        try {
            for (auto& [ownerPK, group] : groups) {
                sortGroup(group);
                inTransaction(db, [&] {
                    db.executeBatch(upsert, group.size(), [&, owner = ownerPK](std::size_t index) {
                        return SQLValues{owner, group[index].pk, static_cast<std::int64_t>(index)};
                    });
                });
            }
        } catch (...) {
            all.commit();
            throw;
        }
        all.commit();
    });
}

} // namespace

void SyncEngine::rebuildAlbumSongs(const std::vector<RemoteSong>& songs,
                                   const std::vector<LocalSong>& storedSongs) {
    const auto owners = ownerKeys(database_->allAlbums());
    auto groups = groupByOwner(songs, storedSongs, owners, &RemoteSong::Relationships::albums);
    writeGroups(*database_, groups, StoreStatements::upsertAlbumSong,
                [](std::vector<RemoteTrackMetadata>& group) {
                    TrackOrdering::sortInTrackOrder(
                        group, [](const RemoteTrackMetadata& item) { return item.trackNumber; });
                });
}

void SyncEngine::rebuildArtistSongs(const std::vector<RemoteSong>& songs,
                                    const std::vector<LocalSong>& storedSongs) {
    const auto owners = ownerKeys(database_->allArtists());
    auto groups = groupByOwner(songs, storedSongs, owners, &RemoteSong::Relationships::artists);
    writeGroups(*database_, groups, StoreStatements::upsertArtistSong,
                [](std::vector<RemoteTrackMetadata>& group) {
                    TrackOrdering::sortInArtistOrder(
                        group,
                        [](const RemoteTrackMetadata& item) -> const std::optional<std::string>& {
                            return item.albumName;
                        },
                        [](const RemoteTrackMetadata& item) { return item.trackNumber; });
                });
}

} // namespace MarrowbellCore
