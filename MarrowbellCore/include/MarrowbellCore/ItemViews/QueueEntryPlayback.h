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
/// "song-" and the song id; without a song, a new random UUID at every call, so that the key never
/// matches an earlier picture.
std::string songIDForArtwork(const MusicKit::MusicPlayerQueueEntry& entry);

} // namespace MarrowbellCore::QueueEntryPlayback
