#include "MarrowbellCore/ItemViews/PlaybackItem.h"

namespace MarrowbellCore {
namespace {

template <class ForSong, class ForEntry>
auto read(const std::variant<LocalSong, MusicKit::MusicPlayerQueueEntry>& source, ForSong forSong,
          ForEntry forEntry) {
    if (const auto* song = std::get_if<LocalSong>(&source)) {
        return forSong(*song);
    }
    return forEntry(std::get<MusicKit::MusicPlayerQueueEntry>(source));
}

} // namespace

std::string PlaybackItem::title() const {
    return read(
        source_, [](const LocalSong& song) { return song.title; },
        [](const MusicKit::MusicPlayerQueueEntry& entry) { return entry.title; });
}

std::optional<std::string> PlaybackItem::subtitle() const {
    return read(
        source_, [](const LocalSong& song) { return song.subtitle(); },
        [](const MusicKit::MusicPlayerQueueEntry& entry) { return entry.subtitle; });
}

std::optional<std::string> PlaybackItem::artist() const {
    return read(
        source_, [](const LocalSong& song) { return song.artist(); }, &QueueEntryPlayback::artist);
}

std::optional<std::string> PlaybackItem::album() const {
    return read(
        source_, [](const LocalSong& song) { return song.album(); }, &QueueEntryPlayback::album);
}

std::optional<MusicKit::Artwork> PlaybackItem::artwork() const {
    return read(
        source_, [](const LocalSong& song) { return song.artwork(); },
        [](const MusicKit::MusicPlayerQueueEntry& entry) { return entry.artwork; });
}

double PlaybackItem::duration() const {
    return read(
        source_, [](const LocalSong& song) { return song.duration; }, &QueueEntryPlayback::duration);
}

std::optional<std::string> PlaybackItem::songID() const {
    return read(
        source_, [](const LocalSong& song) { return song.songID(); }, &QueueEntryPlayback::songID);
}

std::string PlaybackItem::songIDForArtwork() const {
    return read(
        source_, [](const LocalSong& song) { return song.songIDForArtwork(); },
        &QueueEntryPlayback::songIDForArtwork);
}

} // namespace MarrowbellCore
