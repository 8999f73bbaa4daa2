#include "RelationRebuild.h"

#include "TrackOrdering.h"

#include <Foundation/CancellationError.h>
#include <string_view>
#include <unordered_map>

namespace MarrowbellCore {
namespace {

using OwnerKind = SongMemberships::OwnerKind;
/// How many songs are grouped between two cancellation checkpoints: a few milliseconds of work.
constexpr std::size_t songsPerCheckpoint = 4096;
/// Each owner's stored songs in fetch order. The songs stay in the caller's list; groups only point at them.
using Groups = std::unordered_map<std::int64_t, std::vector<const StoredTrackMetadata*>>;

/// The stored key of each owner the memberships name, by the memberships' owner index; nothing for an owner
/// that is not stored.
template <class Owner>
std::vector<std::optional<std::int64_t>> ownerKeys(const SongMemberships& songs,
                                                   const std::vector<Owner>& storedOwners) {
    std::unordered_map<std::string_view, std::int64_t> keys;
    keys.reserve(storedOwners.size());
    for (const auto& owner : storedOwners) {
        keys.emplace(owner.identifier, owner.pk);
    }
    std::vector<std::optional<std::int64_t>> byIndex(songs.ownerCount());
    for (std::uint32_t owner = 0; owner < byIndex.size(); ++owner) {
        if (const auto key = keys.find(songs.ownerIdentifier(owner)); key != keys.end()) {
            byIndex[owner] = key->second;
        }
    }
    return byIndex;
}

std::unordered_map<std::string_view, const StoredTrackMetadata*>
songsByIdentifier(const std::vector<StoredTrackMetadata>& songs) {
    std::unordered_map<std::string_view, const StoredTrackMetadata*> index;
    index.reserve(songs.size());
    for (const auto& song : songs) {
        index.emplace(song.identifier, &song);
    }
    return index;
}

/// Each owner's songs in fetch order, from the songs' memberships of owners that are stored.
template <class Owner>
Groups groupByOwner(const SongMemberships& songs, const std::vector<StoredTrackMetadata>& storedSongs,
                    const std::vector<Owner>& storedOwners, OwnerKind kind,
                    const std::stop_token& stopToken) {
    const auto owners = ownerKeys(songs, storedOwners);
    Foundation::checkCancellation(stopToken);
    const auto stored = songsByIdentifier(storedSongs);
    Groups groups;
    for (std::size_t song = 0; song < songs.songCount(); ++song) {
        if (song % songsPerCheckpoint == 0) {
            Foundation::checkCancellation(stopToken);
        }
        const auto songOwners = songs.owners(song, kind);
        if (songOwners.empty()) {
            continue;
        }
        const auto storedSong = stored.find(songs.songIdentifier(song));
        if (storedSong == stored.end()) {
            continue;
        }
        for (const auto owner : songOwners) {
            if (const auto ownerPK = owners[owner]) {
                groups[*ownerPK].push_back(storedSong->second);
            }
        }
    }
    return groups;
}

/// Each group sorted, as the lists the store links. The lists keep the groups' order, which is the order in
/// which the store writes them. Each group is let go once it is a list.
template <class SortGroup>
std::vector<OwnerSongs> sortedLists(Groups groups, SortGroup sortGroup, const std::stop_token& stopToken) {
    std::vector<OwnerSongs> lists;
    lists.reserve(groups.size());
    for (auto& [ownerPK, group] : groups) {
        Foundation::checkCancellation(stopToken);
        sortGroup(group);
        auto& list = lists.emplace_back(OwnerSongs{ownerPK, {}});
        list.songPKs.reserve(group.size());
        for (const auto* song : group) {
            list.songPKs.push_back(song->pk);
        }
        group = {};
    }
    return lists;
}

std::optional<std::int64_t> trackNumberOf(const StoredTrackMetadata* song) {
    return song->trackNumber;
}

} // namespace

void RelationRebuild::rebuildAlbumSongs(LocalDatabase& database, const SongMemberships& songs,
                                        const std::vector<StoredTrackMetadata>& storedSongs,
                                        std::stop_token stopToken) {
    auto groups = groupByOwner(songs, storedSongs, database.allAlbums(), OwnerKind::album, stopToken);
    database.rebuildAlbumSongs(sortedLists(
                                   std::move(groups),
                                   [](std::vector<const StoredTrackMetadata*>& group) {
                                       TrackOrdering::sortInTrackOrder(group, trackNumberOf);
                                   },
                                   stopToken),
                               stopToken);
}

void RelationRebuild::rebuildArtistSongs(LocalDatabase& database, const SongMemberships& songs,
                                         const std::vector<StoredTrackMetadata>& storedSongs,
                                         std::stop_token stopToken) {
    auto groups = groupByOwner(songs, storedSongs, database.allArtists(), OwnerKind::artist, stopToken);
    database.rebuildArtistSongs(
        sortedLists(
            std::move(groups),
            [](std::vector<const StoredTrackMetadata*>& group) {
                TrackOrdering::sortInArtistOrder(
                    group,
                    [](const StoredTrackMetadata* song) -> const std::optional<std::string>& {
                        return song->albumTitle;
                    },
                    trackNumberOf);
            },
            stopToken),
        stopToken);
}

} // namespace MarrowbellCore
