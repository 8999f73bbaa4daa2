#pragma once

#include "Lists/CollectionListController.h"
#include "Navigation/StoredRecordTitling.h"

#include <memory>

namespace Marrowbell {

class MainViewModel;
template <class Record> class LibraryListViewModel;

using PlaylistList = CollectionListController<MarrowbellCore::LocalPlaylist>;
using AlbumList = CollectionListController<MarrowbellCore::LocalAlbum>;
using ArtistList = CollectionListController<MarrowbellCore::LocalArtist>;

// The playlists, albums and artists panes (pane 1): the list model's containers with their artwork, the
// album's artist as subtitle, artists in circles. Selecting a row opens its songs through the list model;
// Return or a double-click plays the opened container from its top once its songs have loaded; the row menu
// offers "Play" and "Shuffle". Each showing loads the list (and syncs it at most daily). A failed play from
// the menu is reported and raises the play-error alert. GUI thread only.

std::unique_ptr<PlaylistList>
makePlaylistsView(MainViewModel& model, LibraryListViewModel<MarrowbellCore::LocalPlaylist>& playlists,
                  const ListEnvironment& environment);
std::unique_ptr<AlbumList> makeAlbumsView(MainViewModel& model,
                                          LibraryListViewModel<MarrowbellCore::LocalAlbum>& albums,
                                          const ListEnvironment& environment);
std::unique_ptr<ArtistList> makeArtistsView(MainViewModel& model,
                                            LibraryListViewModel<MarrowbellCore::LocalArtist>& artists,
                                            const ListEnvironment& environment);

} // namespace Marrowbell
