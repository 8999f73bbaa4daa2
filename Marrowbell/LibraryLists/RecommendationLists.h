#pragma once

#include "Lists/CollectionListController.h"

#include <MusicKit/CatalogItems.h>
#include <memory>

namespace Marrowbell {

class MadeForYouViewModel;
class MainViewModel;
class StationsViewModel;

} // namespace Marrowbell

/// A recommended item as a list row: selected by its identifier, titled by its own title.
template <> struct Marrowbell::Titling<MusicKit::MusicPersonalRecommendationItem> {
    static QString id(const MusicKit::MusicPersonalRecommendationItem& item) {
        return QString::fromStdString(item.id.rawValue());
    }
    static QString title(const MusicKit::MusicPersonalRecommendationItem& item) {
        return QString::fromStdString(item.title);
    }
};

namespace Marrowbell {

using RecommendationList = CollectionListController<MusicKit::MusicPersonalRecommendationItem>;

// The Made for You and Stations for You panes (pane 1): the recommended items with their artwork, requested
// anew each time the pane shows. A row is played as a whole, never opened: Return or a double-click plays
// the selected item (Made for You unshuffled); the row menu offers "Play" and "Shuffle" (Made for You) or
// "Play" (stations). The models report their own failures. GUI thread only.

std::unique_ptr<RecommendationList> makeMadeForYouView(MainViewModel& model, MadeForYouViewModel& madeForYou,
                                                       const ListEnvironment& environment);
std::unique_ptr<RecommendationList> makeStationsView(MainViewModel& model, StationsViewModel& stations,
                                                     const ListEnvironment& environment);

} // namespace Marrowbell
