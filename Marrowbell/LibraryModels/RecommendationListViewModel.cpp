#include "LibraryModels/RecommendationListViewModel.h"

#include "App/AppEnvironment.h"
#include "ErrorReporting/ErrorReporting.h"
#include "LibraryModels/FutureSupport.h"
#include "Model/MainViewModel.h"
#include "Platform/AppLoggers.h"
#include "Platform/GuiDelivery.h"

#include <MusicKit/ApplicationMusicPlayer.h>
#include <MusicKit/MusicPersonalRecommendationsRequest.h>
#include <algorithm>

namespace Marrowbell {
namespace {

using MusicKit::MusicPersonalRecommendation;
using ItemKind = MusicKit::MusicPersonalRecommendationItem::Kind;

bool isQueueable(ItemKind kind) {
    return kind == ItemKind::album || kind == ItemKind::playlist || kind == ItemKind::station;
}

} // namespace

RecommendationListViewModel::RecommendationListViewModel(const RecommendationKind& kind,
                                                         MainViewModel& mainViewModel,
                                                         AppEnvironment& environment,
                                                         MusicKit::ApplicationMusicPlayer& player,
                                                         QObject* parent)
    : QObject(parent)
    , kind_(kind)
    , mainViewModel_(mainViewModel)
    , environment_(environment)
    , player_(player) {}

QFuture<void> RecommendationListViewModel::load() {
    const std::uint64_t generation = ++loadsStarted_;
    auto request = environment_.background().run([](std::stop_token stopToken) {
        return MusicKit::MusicPersonalRecommendationsRequest().response(stopToken);
    });
    auto promise = startedPromise();
    whenFinished(
        request, this,
        [this, promise, generation](QFuture<MusicKit::MusicPersonalRecommendationsResponse> finished) {
            if (auto error = failureOf(finished)) {
                ErrorReporting::report(error, kind_.loadFailureName);
                logFailure(AppLoggers::sync(), kind_.loadFailureMessage, error);
            } else if (generation > newestInstalledLoad_) {
                newestInstalledLoad_ = generation;
                // An older answer arriving late must not replace a newer one.
                install(finished.takeResult().recommendations);
            }
            promise->finish();
        });
    return promise->future();
}

void RecommendationListViewModel::install(std::vector<MusicPersonalRecommendation> all) {
    std::vector<MusicPersonalRecommendation> kept;
    std::vector<Item> keptItems;
    for (auto& recommendation : all) {
        if (recommendation.title == kind_.title) {
            keptItems.insert(keptItems.end(), recommendation.items.begin(), recommendation.items.end());
            kept.push_back(std::move(recommendation));
        }
    }
    recommendations.set(std::move(kept));
    items.set(std::move(keptItems));
    auto& selection = mainViewModel_.*kind_.selection;
    if (!selection.get() && !items.get().empty()) {
        selection.set(items.get().front().id);
    }
}

std::vector<MarrowbellCore::SearchSection>
RecommendationListViewModel::searchSection(const QString& text) const {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return {};
    }
    MarrowbellCore::SearchSection section{kind_.title, {}};
    for (const Item& item : items.get()) {
        if (QString::fromStdString(item.title).contains(trimmed, Qt::CaseInsensitive)) {
            section.results.push_back(kind_.searchResult(item));
        }
    }
    if (section.results.empty()) {
        return {};
    }
    return {std::move(section)};
}

std::optional<RecommendationListViewModel::Item>
RecommendationListViewModel::loadedItem(const MusicKit::MusicItemID& id) const {
    for (const MusicPersonalRecommendation& recommendation : recommendations.get()) {
        const auto found = std::find_if(recommendation.items.begin(), recommendation.items.end(),
                                        [&](const Item& item) { return item.id == id; });
        if (found != recommendation.items.end()) {
            return *found;
        }
    }
    return std::nullopt;
}

QFuture<void>
RecommendationListViewModel::playItem(const MusicKit::MusicItemID& id,
                                      std::optional<MusicKit::MusicPlayerShuffleMode> shuffleMode) {
    const std::optional<Item> item = loadedItem(id);
    if (!item) {
        return finishedFuture();
    }
    if (!isQueueable(item->kind)) {
        reportPlayFailure(std::make_exception_ptr(UnsupportedRecommendationError()));
        return finishedFuture();
    }
    mainViewModel_.isStopped.set(false);
    mainViewModel_.eagerEntry.set(std::nullopt);
    mainViewModel_.saveSnapbackState();
    player_.setQueue(*item);
    player_.state().setShuffleMode(shuffleMode);

    auto promise = startedPromise();
    whenFinished(player_.play(), this, [this, promise](QFuture<void> played) {
        if (auto error = failureOf(played)) {
            reportPlayFailure(error);
        }
        promise->finish();
    });
    return promise->future();
}

void RecommendationListViewModel::reportPlayFailure(const std::exception_ptr& error) {
    ErrorReporting::report(error, kind_.playFailureName);
    logFailure(AppLoggers::playback(), kind_.playFailureMessage, error);
    mainViewModel_.showPlayError.set(true);
}

} // namespace Marrowbell
