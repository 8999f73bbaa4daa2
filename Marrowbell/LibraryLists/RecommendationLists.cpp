#include "LibraryLists/RecommendationLists.h"

#include "LibraryLists/PaneListWiring.h"
#include "LibraryModels/MadeForYouViewModel.h"
#include "LibraryModels/StationsViewModel.h"
#include "Lists/ListEnvironment.h"

namespace Marrowbell {
namespace {

using Item = MusicKit::MusicPersonalRecommendationItem;
using SelectedItem = Observed<std::optional<MusicKit::MusicItemID>> MainViewModel::*;

constexpr int recommendationPaneTag = 1;
constexpr int artworkPixels = 64;

/// What tells the two panes apart.
struct RecommendationPane {
    SelectedItem selection;
    QString autosaveName;
    bool (MainViewModel::*isSnapbackTarget)(const Item&) const;
    /// Plays the selected item; returns at once.
    std::function<void(const std::optional<MusicKit::MusicItemID>& selected)> playSelected;
    std::function<std::vector<MenuEntry>(const MusicKit::MusicItemID& clicked)> menuEntries;
};

// The central model keeps the service's identifiers; the list selects by their text.
CollectionListControllerBase::SelectionBinding bindItemSelection(MainViewModel& model,
                                                                 SelectedItem selection) {
    return {[&model, selection]() -> std::optional<QString> {
                const auto& selected = (model.*selection).get();
                return selected ? std::optional(QString::fromStdString(selected->rawValue())) : std::nullopt;
            },
            [&model, selection](const std::optional<QString>& id) {
                (model.*selection)
                    .set(id ? std::optional(MusicKit::MusicItemID(id->toStdString())) : std::nullopt);
            }};
}

void configureRecommendationRow(TableCell& cell, const Item& item, CellConfiguration configuration,
                                const MainViewModel& model, const RecommendationPane& pane,
                                const Defaults& defaults) {
    cell.canShowChevron = false;
    cell.title = rowTitle(item);
    cell.refreshAppearance(defaults);
    if (configuration == CellConfiguration::preview) {
        return;
    }
    cell.showNowPlayingIndicator = (model.*pane.isSnapbackTarget)(item);
    std::optional<QUrl> artwork;
    if (item.artwork) {
        if (const auto url = item.artwork->url(artworkPixels, artworkPixels)) {
            artwork = QUrl(QString::fromStdString(url->absoluteString()));
        }
    }
    // The bare identifier: the search panel keys the same artwork by a prefixed one.
    cell.setArtwork(artwork, rowID(item));
}

// Items are equal by identifier; a renamed item or new artwork must still reach the rows.
bool sameRows(const std::vector<Item>& lhs, const std::vector<Item>& rhs) {
    return std::equal(
        lhs.begin(), lhs.end(), rhs.begin(), rhs.end(), [](const Item& left, const Item& right) {
            return left.id == right.id && left.title == right.title && left.kind == right.kind &&
                   left.artwork.has_value() == right.artwork.has_value() &&
                   (!left.artwork || left.artwork->urlTemplate() == right.artwork->urlTemplate());
        });
}

void followItems(RecommendationList& list, RecommendationListViewModel& recommendations) {
    const QPointer<RecommendationList> weakList(&list);
    list.tokens.push_back(ObservationTracking::observe(
        &recommendations, &RecommendationListViewModel::items,
        [weakList](const std::vector<Item>& oldItems, const std::vector<Item>& newItems) {
            if (weakList && !sameRows(oldItems, newItems)) {
                weakList->setItems(newItems);
            }
        }));
}

std::unique_ptr<RecommendationList> makeRecommendationList(MainViewModel& model,
                                                           RecommendationListViewModel& recommendations,
                                                           const ListEnvironment& environment,
                                                           RecommendationPane pane) {
    auto shared = std::make_shared<const RecommendationPane>(std::move(pane));
    auto list = std::make_unique<RecommendationList>(
        environment, recommendations.items.get(), bindItemSelection(model, shared->selection),
        recommendationPaneTag, shared->autosaveName,
        [&model, shared, &defaults = environment.defaults](TableCell& cell, const Item& item,
                                                           CellConfiguration configuration) {
            configureRecommendationRow(cell, item, configuration, model, *shared, defaults);
        },
        // The row handed in is already the selection.
        [&model, shared](const Item&) { shared->playSelected((model.*shared->selection).get()); });
    list->setPauseAction([&model] { model.pause(); });
    followActivePane(*list, model);
    list->setContextMenu([shared](const QString& id) {
        return makeContextMenu(shared->menuEntries(MusicKit::MusicItemID(id.toStdString())));
    });
    list->setTask([&recommendations] { recommendations.load(); });
    followItems(*list, recommendations);
    followSelection(*list, model, shared->selection);
    return list;
}

} // namespace

std::unique_ptr<RecommendationList> makeMadeForYouView(MainViewModel& model, MadeForYouViewModel& madeForYou,
                                                       const ListEnvironment& environment) {
    return makeRecommendationList(
        model, madeForYou, environment,
        {&MainViewModel::selectedMadeForYouID, QStringLiteral("MadeForYouList"),
         &MainViewModel::isMadeForYouSnapbackTarget,
         [&madeForYou](const std::optional<MusicKit::MusicItemID>& selected) {
             madeForYou.play(selected, false);
         },
         [&madeForYou](const MusicKit::MusicItemID& clicked) {
             return std::vector<MenuEntry>{
                 {QStringLiteral("Play"), [&madeForYou, clicked] { madeForYou.play(clicked, false); }},
                 {QStringLiteral("Shuffle"), [&madeForYou, clicked] { madeForYou.play(clicked, true); }},
             };
         }});
}

std::unique_ptr<RecommendationList> makeStationsView(MainViewModel& model, StationsViewModel& stations,
                                                     const ListEnvironment& environment) {
    return makeRecommendationList(
        model, stations, environment,
        {&MainViewModel::selectedStationID, QStringLiteral("StationsList"),
         &MainViewModel::isStationSnapbackTarget,
         [&stations](const std::optional<MusicKit::MusicItemID>& selected) {
             if (selected) {
                 stations.play(*selected);
             }
         },
         [&stations](const MusicKit::MusicItemID& clicked) {
             return std::vector<MenuEntry>{
                 {QStringLiteral("Play"), [&stations, clicked] { stations.play(clicked); }},
             };
         }});
}

} // namespace Marrowbell
