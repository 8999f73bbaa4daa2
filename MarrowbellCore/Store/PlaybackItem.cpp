#include "MarrowbellCore/PlaybackItem.h"

#include <Foundation/UUID.h>

namespace MarrowbellCore {

namespace QueueEntryPlayback {

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

} // namespace QueueEntryPlayback

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
