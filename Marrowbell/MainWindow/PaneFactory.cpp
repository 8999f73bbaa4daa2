#include "MainWindow/PaneFactory.h"

#include "LibraryLists/LibraryLists.h"
#include "LibraryLists/RecommendationLists.h"
#include "LibraryLists/SongLists.h"
#include "Lists/ContainerList.h"
#include "Lists/ListEnvironment.h"
#include "MainWindow/AppModels.h"
#include "Platform/AccessibleNames.h"

namespace Marrowbell {
namespace {

QWidget* containerPane(AppModels& models, const ListEnvironment& environment, ContainerKind kind) {
    MainViewModel& model = *models.main;
    switch (kind) {
    case ContainerKind::playlists:
        return makePlaylistsView(model, *models.playlists, environment).release();
    case ContainerKind::albums:
        return makeAlbumsView(model, *models.albums, environment).release();
    case ContainerKind::artists:
        return makeArtistsView(model, *models.artists, environment).release();
    case ContainerKind::songs:
        return makeSongsView(model, *models.topLevelSongs, *models.player, environment).release();
    case ContainerKind::madeForYou:
        return makeMadeForYouView(model, *models.madeForYou, environment).release();
    case ContainerKind::stations:
        return makeStationsView(model, *models.stations, environment).release();
    }
    // Not reached for a known kind; an empty pane keeps the pod whole.
    return new QWidget;
}

QWidget* pane(AppModels& models, const ListEnvironment& environment, const NavigationItem& item) {
    if (const auto* container = item.as<NavigationItem::Container>()) {
        return containerPane(models, environment, container->kind);
    }
    if (item.as<NavigationItem::SongCollection>()) {
        return makeDetailSongsView(*models.main, *models.detailSongs, *models.player, environment).release();
    }
    return makeContainerList(*models.main, environment).release();
}

// What a screen reader calls the list: what it lists, as the title above it says.
QString paneName(const NavigationItem& item) {
    if (const auto* container = item.as<NavigationItem::Container>()) {
        return containerKindTitle(container->kind);
    }
    if (const auto* collection = item.as<NavigationItem::SongCollection>()) {
        return collection->title;
    }
    return AccessibleNames::library();
}

} // namespace

PaneFactory makeLibraryPaneFactory(AppModels& models, const ListEnvironment& environment) {
    return [&models, environment](const NavigationItem& item) -> QWidget* {
        QWidget* made = pane(models, environment, item);
        made->setAccessibleName(paneName(item));
        return made;
    };
}

} // namespace Marrowbell
