#pragma once

#include "LibraryModels/RecommendationListViewModel.h"

namespace Marrowbell {

/// "Made for You": the items of the recommendation of that title, played as a whole (optionally shuffled).
/// The selection is the central model's selectedMadeForYouID. GUI thread only.
class MadeForYouViewModel final : public RecommendationListViewModel {
    Q_OBJECT

public:
    MadeForYouViewModel(MainViewModel& mainViewModel, AppEnvironment& environment,
                        MusicKit::ApplicationMusicPlayer& player, QObject* parent = nullptr);

    /// Plays the loaded item `itemID`, shuffling its songs when `shuffle`; nothing without an identifier.
    /// Never fails (see RecommendationListViewModel::playItem).
    QFuture<void> play(const std::optional<MusicKit::MusicItemID>& itemID, bool shuffle);
};

} // namespace Marrowbell
