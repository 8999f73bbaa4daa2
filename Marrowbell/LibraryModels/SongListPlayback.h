#pragma once

#include <MarrowbellCore/Store/LocalSong.h>
#include <MarrowbellCore/Store/SortedRecords.h>
#include <QFuture>
#include <QString>
#include <cstddef>
#include <optional>
#include <vector>

namespace MusicKit {
class ApplicationMusicPlayer;
}

namespace Marrowbell {

class MainViewModel;

/// The player's queue holds at most this many songs, counted from the song played first.
inline constexpr std::size_t songQueueLimit = 200;

/// Where playing a song list starts.
struct SongListStart {
    /// Index of the first song queued.
    std::size_t first = 0;
    bool shuffle = false;
    /// The song shown as playing before the player reports it: none for shuffle.
    std::optional<MarrowbellCore::LocalSong> eagerEntry;
};

/// The start for the row `rowID` ("play", "shuffle" or a song identifier) of `songs`; nothing when the list
/// is empty or no song has that identifier. `Songs`, here and below, is a std::vector or a SortedRecords of
/// LocalSong.
template <class Songs> std::optional<SongListStart> songListStart(const Songs& songs, const QString& rowID);

/// Plays up to songQueueLimit songs of `songs` from `start`: the central model is marked as playing with its
/// eager entry, the player's queue and shuffle mode are replaced, the central model refreshes (and records
/// the snap-back place when `saveSnapback`), then the player plays. The future finishes on the
/// GUI thread, holding the player's error on failure. GUI thread.
template <class Songs>
QFuture<void> playSongList(MainViewModel& model, MusicKit::ApplicationMusicPlayer& player, const Songs& songs,
                           const SongListStart& start, bool saveSnapback);

} // namespace Marrowbell
