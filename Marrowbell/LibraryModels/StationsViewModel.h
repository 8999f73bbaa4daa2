#pragma once

#include "LibraryModels/RecommendationListViewModel.h"

namespace Marrowbell {

/// "Stations for You": the stations of the recommendation of that title. The selection is the central
/// model's selectedStationID. GUI thread only.
class StationsViewModel final : public RecommendationListViewModel {
    Q_OBJECT

public:
    StationsViewModel(MainViewModel& mainViewModel, AppEnvironment& environment,
                      MusicKit::ApplicationMusicPlayer& player, QObject* parent = nullptr);

    /// Plays the loaded station `stationID`. Never fails (see RecommendationListViewModel::playItem).
    QFuture<void> play(const MusicKit::MusicItemID& stationID);
};

} // namespace Marrowbell
