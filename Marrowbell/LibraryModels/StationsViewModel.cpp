#include "LibraryModels/StationsViewModel.h"

#include "Model/MainViewModel.h"

namespace Marrowbell {
namespace {

const RecommendationKind stationsKind{"Stations for You",
                                      &MainViewModel::selectedStationID,
                                      "load_stations",
                                      "Failed to load stations: %@",
                                      "play_station",
                                      "Failed to play station: %@",
                                      &MarrowbellCore::SearchResult::station};

} // namespace

StationsViewModel::StationsViewModel(MainViewModel& mainViewModel, AppEnvironment& environment,
                                     MusicKit::ApplicationMusicPlayer& player, QObject* parent)
    : RecommendationListViewModel(stationsKind, mainViewModel, environment, player, parent) {}

QFuture<void> StationsViewModel::play(const MusicKit::MusicItemID& stationID) {
    return playItem(stationID, std::nullopt);
}

} // namespace Marrowbell
