#include "RelationRebuild.h"

#include "MarrowbellCore/Store/LocalDatabase.h"
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

/// Each group sorted, as the lists the store links. The lists keep the groups' order, which is the order in
/// which the store writes them.
template <class SortGroup> std::vector<OwnerSongs> sortedLists(Groups& groups, SortGroup sortGroup) {
    std::vector<OwnerSongs> lists;
    lists.reserve(groups.size());
    for (auto& [ownerPK, group] : groups) {
        sortGroup(group);
        auto& list = lists.emplace_back(OwnerSongs{ownerPK, {}});
        list.songPKs.reserve(group.size());
        for (const auto* song : group) {
            list.songPKs.push_back(song->pk);
        }
    }
    return lists;
}

std::optional<std::int64_t> trackNumberOf(const LocalSong* song) {
    return song->trackNumber;
}

} // namespace

void RelationRebuild::rebuildAlbumSongs(LocalDatabase& database, const std::vector<RemoteSong>& songs,
                                        const std::vector<LocalSong>& storedSongs) {
    auto groups = groupByOwner(songs, storedSongs, database.allAlbums(), &RemoteSong::Relationships::albums);
    database.rebuildAlbumSongs(sortedLists(groups, [](std::vector<const LocalSong*>& group) {
        TrackOrdering::sortInTrackOrder(group, trackNumberOf);
    }));
}

void RelationRebuild::rebuildArtistSongs(LocalDatabase& database, const std::vector<RemoteSong>& songs,
                                         const std::vector<LocalSong>& storedSongs) {
    auto groups =
        groupByOwner(songs, storedSongs, database.allArtists(), &RemoteSong::Relationships::artists);
    database.rebuildArtistSongs(sortedLists(groups, [](std::vector<const LocalSong*>& group) {
        TrackOrdering::sortInArtistOrder(
            group,
            [](const LocalSong* song) -> const std::optional<std::string>& { return song->albumTitle; },
            trackNumberOf);
    }));
}

} // namespace MarrowbellCore
