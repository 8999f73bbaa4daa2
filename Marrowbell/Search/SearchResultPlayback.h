#pragma once

#include <MarrowbellCore/ItemViews/SearchResult.h>
#include <QFuture>

namespace Marrowbell {

class AppModels;

/// Plays a search result. A stored playlist, album, artist or song, a Made for You item or a station plays
/// through the list model of its kind, and only once that has succeeded does the central model record it as
/// the snap-back place. A catalog playlist, album or song becomes the player's whole queue; a catalog
/// artist's top songs do (nothing plays when it has none). Neither is in the library, so the snap-back place
/// is cleared first, whether or not the play then succeeds.
///
/// GUI thread. The future finishes on the GUI thread and never holds an exception: a failure other than a
/// cancellation is logged, reported as "play_search_result" and raises the play-error alert.
QFuture<void> playSearchResult(const MarrowbellCore::SearchResult& result, AppModels& models);

} // namespace Marrowbell
