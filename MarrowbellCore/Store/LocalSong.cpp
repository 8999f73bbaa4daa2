#include "MarrowbellCore/Store/LocalSong.h"

namespace MarrowbellCore {
namespace {

bool equalWhenPresent(const std::optional<std::string>& candidate, const std::string& id) {
    return candidate && Foundation::canonicallyEqual(*candidate, id);
}

bool matchesSongID(const LocalSong& song, const std::string& id) {
    if (const auto remote = song.remotePlayParameters()) {
        if (equalWhenPresent(remote->purchasedId, id) || equalWhenPresent(remote->catalogId, id) ||
            equalWhenPresent(remote->reportingId, id)) {
            return true;
        }
    }
    return Foundation::canonicallyEqual(song.identifier, id);
}

} // namespace

std::string LocalSong::songIDForArtwork() const {
    if (const auto remote = remotePlayParameters()) {
        if (remote->catalogId) {
            return "song-" + *remote->catalogId;
        }
        if (remote->reportingId) {
            return "song-" + *remote->reportingId;
        }
    }
    return "song-" + identifier;
}

bool LocalSong::matchesPlayingSong(const std::optional<std::string>& playingID) const {
    return playingID && matchesSongID(*this, *playingID);
}

bool LocalSong::matchesPlayingSong(const std::optional<MusicKit::MusicPlayerQueueEntry>& entry) const {
    if (!entry) {
        return false;
    }
    if (const auto* song = entry->song()) {
        return matchesSongID(*this, song->id.rawValue());
    }
    return Foundation::canonicallyEqual(title, entry->title);
}

} // namespace MarrowbellCore
