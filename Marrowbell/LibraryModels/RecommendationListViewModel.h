#pragma once

#include "Observation/ObservationRegistrar.h"
#include "Observation/Observed.h"

#include <MarrowbellCore/ItemViews/SearchSection.h>
#include <MusicKit/CatalogItems.h>
#include <MusicKit/MusicItemID.h>
#include <MusicKit/MusicPlayerState.h>
#include <QFuture>
#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

namespace MusicKit {
class ApplicationMusicPlayer;
}

namespace Marrowbell {

class AppEnvironment;
class MainViewModel;

/// A recommended item of a kind the player cannot queue.
class UnsupportedRecommendationError : public std::runtime_error {
public:
    UnsupportedRecommendationError()
        : std::runtime_error("The recommended item is of a kind that cannot be played") {}
};

/// What sets the Made for You and Stations for You models apart.
struct RecommendationKind {
    /// The title of the recommendation the model keeps, and the name of its search section.
    const char* title;
    Observed<std::optional<MusicKit::MusicItemID>> MainViewModel::*selection;
    const char* loadFailureName;
    const char* loadFailureMessage;
    const char* playFailureName;
    const char* playFailureMessage;
    MarrowbellCore::SearchResult (*searchResult)(MusicKit::MusicPersonalRecommendation::Item item);
};

/// A list of the user's personal recommendations, requested from the service at every load and kept only in
/// memory: the recommendations titled as the kind, and their items as the list's rows. GUI thread only; the
/// request runs on a background thread, and only the newest load's answer is installed.
class RecommendationListViewModel : public QObject {
    Q_OBJECT

    ObservationRegistrar registrar_;

public:
    using Item = MusicKit::MusicPersonalRecommendation::Item;

    /// The recommendations of the last load whose title is exactly the kind's (normally one).
    Observed<std::vector<MusicKit::MusicPersonalRecommendation>> recommendations{registrar_};
    /// Their items, recommendation by recommendation: the rows of the list.
    Observed<std::vector<Item>> items{registrar_};

    /// Requests the recommendations and replaces both lists; selects the first item when the kind has no
    /// selection. Never fails: a failure is reported and logged, and the lists stay.
    QFuture<void> load();

    /// One section named after the kind holding the items whose title contains `text` (trimmed, any letter
    /// case); none for an empty text or when nothing matches.
    std::vector<MarrowbellCore::SearchSection> searchSection(const QString& text) const;

protected:
    RecommendationListViewModel(const RecommendationKind& kind, MainViewModel& mainViewModel,
                                AppEnvironment& environment, MusicKit::ApplicationMusicPlayer& player,
                                QObject* parent);

    /// Plays the loaded item `id` as the player's whole queue with `shuffleMode`, recording the snap-back
    /// place. An unknown identifier does nothing. Never fails: a failure, or an item the player cannot queue
    /// (the player is then left alone), is reported, logged and raises the play-error alert.
    QFuture<void> playItem(const MusicKit::MusicItemID& id,
                           std::optional<MusicKit::MusicPlayerShuffleMode> shuffleMode);

private:
    std::optional<Item> loadedItem(const MusicKit::MusicItemID& id) const;
    void install(std::vector<MusicKit::MusicPersonalRecommendation> all);
    void reportPlayFailure(const std::exception_ptr& error);

    const RecommendationKind& kind_;
    MainViewModel& mainViewModel_;
    AppEnvironment& environment_;
    MusicKit::ApplicationMusicPlayer& player_;
    /// Loads are numbered as they start; an older load's result never replaces a newer one's.
    std::uint64_t loadsStarted_ = 0;
    std::uint64_t newestInstalledLoad_ = 0;
};

} // namespace Marrowbell
