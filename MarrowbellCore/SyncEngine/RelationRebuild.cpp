#include "MarrowbellCore/Store/LocalDatabase.h"
#include "MarrowbellCore/Sync/SyncEngine.h"
#include "Remote/RemoteSong.h"
#include "Store/RelationRow.h"
#include "Store/SQLDatabase.h"
#include "Store/SQLTransaction.h"
#include "Store/StoreStatements.h"
#include "TrackOrdering.h"

#include <string_view>
#include <unordered_map>

namespace MarrowbellCore {
namespace {

/// Each owner's stored songs in fetch order. The songs stay in the caller's list; groups only point at them.
using Groups = std::unordered_map<std::int64_t, std::vector<const LocalSong*>>;
using RelatedResources = std::optional<RemoteSong::Relationships::Resource> RemoteSong::Relationships::*;

template <class Owner>
std::unordered_map<std::string_view, std::int64_t> ownerKeys(const std::vector<Owner>& owners) {
    std::unordered_map<std::string_view, std::int64_t> keys;
    keys.reserve(owners.size());
    for (const auto& owner : owners) {
        keys.emplace(owner.identifier, owner.pk);
    }
    return keys;
}

std::unordered_map<std::string_view, const LocalSong*>
songsByIdentifier(const std::vector<LocalSong>& songs) {
    std::unordered_map<std::string_view, const LocalSong*> index;
    index.reserve(songs.size());
    for (const auto& song : songs) {
        index.emplace(song.identifier, &song);
    }
    return index;
}

/// Each owner's songs in fetch order, from the songs' relationships to owners that are stored.
template <class Owner>
Groups groupByOwner(const std::vector<RemoteSong>& songs, const std::vector<LocalSong>& storedSongs,
                    const std::vector<Owner>& storedOwners, RelatedResources related) {
    const auto owners = ownerKeys(storedOwners);
    const auto stored = songsByIdentifier(storedSongs);
    Groups groups;
    for (const auto& song : songs) {
        if (!song.relationships || !(*song.relationships.*related) || !(*song.relationships.*related)->data) {
            continue;
        }
        const auto storedSong = stored.find(song.id);
        if (storedSong == stored.end()) {
            continue;
        }
        for (const auto& entry : *(*song.relationships.*related)->data) {
            const auto owner = entry.id ? owners.find(*entry.id) : owners.end();
            if (owner != owners.end()) {
                groups[owner->second].push_back(storedSong->second);
            }
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
                        return relationRowValues(static_cast<std::int64_t>(index), group[index]->pk, owner);
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

std::optional<std::int64_t> trackNumberOf(const LocalSong* song) {
    return song->trackNumber;
}

} // namespace

void SyncEngine::rebuildAlbumSongs(const std::vector<RemoteSong>& songs,
                                   const std::vector<LocalSong>& storedSongs) {
    auto groups =
        groupByOwner(songs, storedSongs, database_->allAlbums(), &RemoteSong::Relationships::albums);
    writeGroups(
        *database_, groups, StoreStatements::upsertAlbumSong,
        [](std::vector<const LocalSong*>& group) { TrackOrdering::sortInTrackOrder(group, trackNumberOf); });
}

void SyncEngine::rebuildArtistSongs(const std::vector<RemoteSong>& songs,
                                    const std::vector<LocalSong>& storedSongs) {
    auto groups =
        groupByOwner(songs, storedSongs, database_->allArtists(), &RemoteSong::Relationships::artists);
    writeGroups(
        *database_, groups, StoreStatements::upsertArtistSong, [](std::vector<const LocalSong*>& group) {
            TrackOrdering::sortInArtistOrder(
                group,
                [](const LocalSong* song) -> const std::optional<std::string>& { return song->albumTitle; },
                trackNumberOf);
        });
}

} // namespace MarrowbellCore
