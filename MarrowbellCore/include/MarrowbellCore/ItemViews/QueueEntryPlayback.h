#pragma once

#include <MusicKit/MusicPlayerQueueEntry.h>
#include <optional>
#include <string>

namespace MarrowbellCore::QueueEntryPlayback {

/// The playing-item view of one of the player's queue entries. Members that depend on the entry's song
/// are absent (or 0) when its item is absent or not a song.

std::optional<std::string> artist(const MusicKit::MusicPlayerQueueEntry& entry);
std::optional<std::string> album(const MusicKit::MusicPlayerQueueEntry& entry);
double duration(const MusicKit::MusicPlayerQueueEntry& entry);
std::optional<std::string> songID(const MusicKit::MusicPlayerQueueEntry& entry);
/// The artwork-cache key of the entry's item: "song-", "station-" or "music-video-" and the item's id, so
/// that every read of one entry names the same picture; "entry-" and the entry's own id without an item.
std::string songIDForArtwork(const MusicKit::MusicPlayerQueueEntry& entry);

} // namespace MarrowbellCore::QueueEntryPlayback
