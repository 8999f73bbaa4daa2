#include "MarrowbellCore/ItemViews/QueueEntryPlayback.h"

#include <Foundation/UUID.h>

namespace MarrowbellCore::QueueEntryPlayback {

std::optional<std::string> artist(const MusicKit::MusicPlayerQueueEntry& entry) {
    const auto* song = entry.song();
    return song ? std::optional(song->artistName) : std::nullopt;
}

std::optional<std::string> album(const MusicKit::MusicPlayerQueueEntry& entry) {
    const auto* song = entry.song();
    return song ? song->albumTitle : std::nullopt;
}

double duration(const MusicKit::MusicPlayerQueueEntry& entry) {
    const auto* song = entry.song();
    return song ? song->duration.value_or(0.0) : 0.0;
}

std::optional<std::string> songID(const MusicKit::MusicPlayerQueueEntry& entry) {
    const auto* song = entry.song();
    return song ? std::optional(song->id.rawValue()) : std::nullopt;
}

std::string songIDForArtwork(const MusicKit::MusicPlayerQueueEntry& entry) {
    if (const auto id = songID(entry)) {
        return "song-" + *id;
    }
    return Foundation::makeUUIDString();
}

} // namespace MarrowbellCore::QueueEntryPlayback
