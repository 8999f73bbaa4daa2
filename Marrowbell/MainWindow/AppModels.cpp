#include "MainWindow/AppModels.h"

#include "App/AppEnvironment.h"
#include "Lists/SnapBackScrolling.h"

namespace Marrowbell {

AppModels::AppModels(AppEnvironment& appEnvironment)
    : environment(appEnvironment)
    , player(std::make_unique<MusicKit::ApplicationMusicPlayer>())
    , main(std::make_unique<MainViewModel>(environment, *player))
    , detailSongs(std::make_unique<DetailSongsViewModel>(*main, *player))
    , topLevelSongs(std::make_unique<TopLevelSongsViewModel>(*main, environment, *player))
    , playlists(std::make_unique<PlaylistsViewModel>(*main, *detailSongs, environment))
    , albums(std::make_unique<AlbumsViewModel>(*main, *detailSongs, environment))
    , artists(std::make_unique<ArtistsViewModel>(*main, *detailSongs, environment))
    , madeForYou(std::make_unique<MadeForYouViewModel>(*main, environment, *player))
    , stations(std::make_unique<StationsViewModel>(*main, environment, *player))
    , search(std::make_unique<SearchViewModel>()) {
    scrollListsOnSnapBack(*main);
    // Update Library changes what the stored lists show, whether or not they are on screen.
    QObject::connect(main.get(), &MainViewModel::librarySynced, main.get(), [this] {
        topLevelSongs->reloadIfLoaded();
        playlists->reloadIfLoaded();
        albums->reloadIfLoaded();
        artists->reloadIfLoaded();
    });
}

AppModels::~AppModels() {
    search.reset();
    stations.reset();
    madeForYou.reset();
    artists.reset();
    albums.reset();
    playlists.reset();
    topLevelSongs.reset();
    detailSongs.reset();
    main.reset();
    player.reset();
}

} // namespace Marrowbell
