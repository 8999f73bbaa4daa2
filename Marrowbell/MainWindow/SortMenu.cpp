#include "MainWindow/SortMenu.h"

#include "Library/SortOrders.h"
#include "MainWindow/AppModels.h"

#include <QActionGroup>
#include <QMenu>

namespace Marrowbell {
namespace {

template <class Choice, std::size_t Count, class Current, class Choose>
void addChoices(QMenu& menu, const std::array<Choice, Count>& choices, Current current, Choose choose) {
    auto* group = new QActionGroup(&menu);
    for (const Choice choice : choices) {
        QAction* item = menu.addAction(sortTitle(choice));
        item->setCheckable(true);
        item->setChecked(choice == current());
        group->addAction(item);
        QObject::connect(item, &QAction::triggered, &menu, [choose, choice] { choose(choice); });
    }
}

template <class Model, class Order, std::size_t Count>
void addModelChoices(QMenu& menu, const QString& title, Model& model,
                     const std::array<Order, Count>& orders) {
    menu.addSection(title);
    addChoices(
        menu, orders, [&model] { return model.sortOrder(); },
        [&model](Order order) { model.setSortOrder(order); });
    menu.addSeparator();
    addChoices(
        menu, allMusicSortDirections, [&model] { return model.sortDirection(); },
        [&model](MusicSortDirection direction) { model.setSortDirection(direction); });
}

} // namespace

bool hasSortChoices(std::optional<ContainerKind> kind) {
    return kind != ContainerKind::madeForYou && kind != ContainerKind::stations;
}

void fillSortMenu(QMenu& menu, AppModels& models, std::optional<ContainerKind> kind) {
    menu.clear();
    switch (kind.value_or(ContainerKind::playlists)) {
    case ContainerKind::playlists:
        addModelChoices(menu, QStringLiteral("Sort Playlists"), *models.playlists, allPlaylistSortOrders);
        break;
    case ContainerKind::albums:
        addModelChoices(menu, QStringLiteral("Sort Albums"), *models.albums, allAlbumSortOrders);
        break;
    case ContainerKind::artists:
        addModelChoices(menu, QStringLiteral("Sort Artists"), *models.artists, allArtistsSortOrders);
        break;
    case ContainerKind::songs:
        addModelChoices(menu, QStringLiteral("Sort Songs"), *models.topLevelSongs, allSongSortOrders);
        break;
    case ContainerKind::madeForYou:
    case ContainerKind::stations:
        break;
    }
}

} // namespace Marrowbell
