#pragma once

#include "MarrowbellCore/Store/PlayParameterBytes.h"
#include "MarrowbellCore/Store/RecordIdentity.h"

#include <Foundation/Date.h>
#include <Foundation/URL.h>
#include <MusicKit/MusicItemID.h>
#include <MusicKit/MusicPlayerQueueEntry.h>
#include <MusicKit/PlayParameters.h>
#include <MusicKit/PlayableMusicItem.h>
#include <cstdint>
#include <optional>
#include <string>

namespace MarrowbellCore {

/// One row of the Songs table. Built only by the store.
struct LocalSong {
    std::int64_t pk = 0;
    std::string identifier;
    std::string title;
    double duration = 0.0;
    std::optional<std::string> artistName;
    std::optional<std::string> albumTitle;
    std::optional<std::string> genre;
    std::optional<Foundation::Date> dateAdded;
    std::optional<Foundation::Date> releaseDate;
    /// The stored play parameters, decoded by the accessors below each time they are asked for.
    PlayParameterBytes storedPlayParameters;
    std::optional<Foundation::URL> artworkURL;
    std::optional<std::int64_t> trackNumber;
    /// The song's sortOrder: larger means added more recently.
    std::optional<std::int64_t> order;
    bool isPassive = false;

    std::optional<MusicKit::PlayParameters> playParameters() const {
        return storedPlayParameters.playParameters();
    }
    /// The same stored play parameters read as the service's own model.
    std::optional<RemotePlayParameters> remotePlayParameters() const {
        return storedPlayParameters.remotePlayParameters();
    }
    /// Whether playParameters() gives a value; a song without shows greyed.
    bool hasPlayParameters() const { return storedPlayParameters.decodesAsPlayParameters(); }

    MusicKit::MusicItemID id() const { return MusicKit::MusicItemID(identifier); }
    /// Always present: the identifier.
    std::optional<std::string> songID() const { return identifier; }

    // The playing-item view of a stored song.
    const std::optional<std::string>& subtitle() const { return artistName; }
    const std::optional<std::string>& artist() const { return artistName; }
    const std::optional<std::string>& album() const { return albumTitle; }
    /// Stored songs carry an artwork URL, never the service's artwork description.
    std::optional<MusicKit::Artwork> artwork() const { return std::nullopt; }
    /// "song-" and the catalog id, else the reporting id, else the identifier: the key of the song's
    /// picture, shared with the same song found in the catalog.
    std::string songIDForArtwork() const;

    /// Whether `playingID` names this song: its purchased, catalog or reporting id, else its identifier.
    bool matchesPlayingSong(const std::optional<std::string>& playingID) const;
    /// Whether the player's current entry plays this song; an entry without a song compares titles.
    bool matchesPlayingSong(const std::optional<MusicKit::MusicPlayerQueueEntry>& entry) const;

    bool operator==(const LocalSong& other) const { return sameIdentifier(*this, other); }
};

static_assert(MusicKit::PlayableMusicItem<LocalSong>);

} // namespace MarrowbellCore

MARROWBELL_HASH_BY_IDENTIFIER(LocalSong);
