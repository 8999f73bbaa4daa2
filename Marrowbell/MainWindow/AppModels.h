#pragma once

#include "LibraryModels/DetailSongsViewModel.h"
#include "LibraryModels/LibraryListViewModel.h"
#include "LibraryModels/MadeForYouViewModel.h"
#include "LibraryModels/StationsViewModel.h"
#include "LibraryModels/TopLevelSongsViewModel.h"
#include "Model/MainViewModel.h"
#include "Search/SearchViewModel.h"

#include <MusicKit/ApplicationMusicPlayer.h>
#include <memory>

namespace Marrowbell {

class AppEnvironment;

/// The models the main window and its panes share, made once per process: the player, the central model and
/// the seven list models and the search panel's state. Destroyed in reverse order of creation. GUI thread.
class AppModels final {
public:
    explicit AppModels(AppEnvironment& environment);
    ~AppModels();
    AppModels(const AppModels&) = delete;
    AppModels& operator=(const AppModels&) = delete;

    AppEnvironment& environment;
    std::unique_ptr<MusicKit::ApplicationMusicPlayer> player;
    std::unique_ptr<MainViewModel> main;
    std::unique_ptr<DetailSongsViewModel> detailSongs;
    std::unique_ptr<TopLevelSongsViewModel> topLevelSongs;
    std::unique_ptr<PlaylistsViewModel> playlists;
    std::unique_ptr<AlbumsViewModel> albums;
    std::unique_ptr<ArtistsViewModel> artists;
    std::unique_ptr<MadeForYouViewModel> madeForYou;
    std::unique_ptr<StationsViewModel> stations;
    std::unique_ptr<SearchViewModel> search;
};

} // namespace Marrowbell
