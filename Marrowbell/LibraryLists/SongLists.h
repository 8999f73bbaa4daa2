#pragma once

#include "Library/SongSelection.h"
#include "Lists/CollectionListController.h"

#include <memory>

namespace MusicKit {
class ApplicationMusicPlayer;
}

namespace Marrowbell {

class DetailSongsViewModel;
class MainViewModel;
class TopLevelSongsViewModel;

using SongList = CollectionListController<SongSelection>;

/// The Songs kind's pane (pane 1, scroll position kept as "TopLevelSongsList"): Play, Shuffle and every
/// library song, loading (and at most daily syncing) each time it shows. Return, a double-click or a row's
/// "Play" menu item plays from that row; a failure is reported and raises the play-error alert. `player`
/// tells which song plays. GUI thread only.
std::unique_ptr<SongList> makeSongsView(MainViewModel& model, TopLevelSongsViewModel& songs,
                                        MusicKit::ApplicationMusicPlayer& player,
                                        const ListEnvironment& environment);

/// The opened playlist's, album's or artist's songs (pane 2, no kept scroll position), as the container
/// lists hand them to `songs`. Plays as the Songs pane does; `songs` reports its own failures.
std::unique_ptr<SongList> makeDetailSongsView(MainViewModel& model, DetailSongsViewModel& songs,
                                              MusicKit::ApplicationMusicPlayer& player,
                                              const ListEnvironment& environment);

} // namespace Marrowbell
