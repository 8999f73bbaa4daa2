#include "LibraryModels/MadeForYouViewModel.h"

#include "LibraryModels/FutureSupport.h"
#include "Model/MainViewModel.h"

namespace Marrowbell {
namespace {

const RecommendationKind madeForYouKind{"Made for You",
                                        &MainViewModel::selectedMadeForYouID,
                                        "load_made_for_you",
                                        "Failed to load Made for You: %@",
                                        "play_made_for_you",
                                        "Failed to play Made for You: %@",
                                        &MarrowbellCore::SearchResult::madeForYou};

} // namespace

MadeForYouViewModel::MadeForYouViewModel(MainViewModel& mainViewModel, AppEnvironment& environment,
                                         MusicKit::ApplicationMusicPlayer& player, QObject* parent)
    : RecommendationListViewModel(madeForYouKind, mainViewModel, environment, player, parent) {}

QFuture<void> MadeForYouViewModel::play(const std::optional<MusicKit::MusicItemID>& itemID, bool shuffle) {
    if (!itemID) {
        return finishedFuture();
    }
    return playItem(*itemID, shuffle ? std::optional(MusicKit::MusicPlayerShuffleMode::songs) : std::nullopt);
}

} // namespace Marrowbell
