#include "MarrowbellCore/ItemViews/QueueEntryPlayback.h"

#include <type_traits>
#include <variant>

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
    if (!entry.item) {
        return "entry-" + entry.id;
    }
    return std::visit(
        [](const auto& item) {
            using Item = std::decay_t<decltype(item)>;
            if constexpr (std::is_same_v<Item, MusicKit::Song>) {
                return "song-" + item.id.rawValue();
            } else if constexpr (std::is_same_v<Item, MusicKit::Station>) {
                return "station-" + item.id.rawValue();
            } else {
                return "music-video-" + item.id.rawValue();
            }
        },
        *entry.item);
}

} // namespace MarrowbellCore::QueueEntryPlayback
