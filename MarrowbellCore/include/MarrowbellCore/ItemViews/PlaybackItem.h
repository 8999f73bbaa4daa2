#pragma once

#include "MarrowbellCore/ItemViews/QueueEntryPlayback.h"
#include "MarrowbellCore/Store/LocalSong.h"

#include <MusicKit/Artwork.h>
#include <MusicKit/MusicPlayerQueueEntry.h>
#include <optional>
#include <string>
#include <variant>

namespace MarrowbellCore {

/// What is playing, read the same way whether it is a stored song the application just asked to play or
/// the player's current queue entry.
class PlaybackItem {
public:
    PlaybackItem(LocalSong song)
        : source_(std::move(song)) {}
    PlaybackItem(MusicKit::MusicPlayerQueueEntry entry)
        : source_(std::move(entry)) {}

    std::string title() const;
    std::optional<std::string> subtitle() const;
    std::optional<std::string> artist() const;
    std::optional<std::string> album() const;
    std::optional<MusicKit::Artwork> artwork() const;
    double duration() const;
    std::optional<std::string> songID() const;
    std::string songIDForArtwork() const;

private:
    std::variant<LocalSong, MusicKit::MusicPlayerQueueEntry> source_;
};

} // namespace MarrowbellCore
