#include "MainWindow/PaneFactory.h"

#include "Lists/ContainerList.h"
#include "Lists/ListEnvironment.h"
#include "MainWindow/AppModels.h"

#include <QLabel>

namespace Marrowbell {
namespace {

QWidget* namedPane(const NavigationItem& item) {
    QString title;
    if (const auto* container = item.as<NavigationItem::Container>()) {
        title = containerKindTitle(container->kind);
    } else if (const auto* collection = item.as<NavigationItem::SongCollection>()) {
        title = collection->title;
    }
    auto* pane = new QLabel(title);
    pane->setAlignment(Qt::AlignCenter);
    pane->setEnabled(true);
    return pane;
}

} // namespace

PaneFactory makeLibraryPaneFactory(AppModels& models, const ListEnvironment& environment) {
    return [&models, environment](const NavigationItem& item) -> QWidget* {
        if (item.as<NavigationItem::Root>()) {
            return makeContainerList(*models.main, environment).release();
        }
        return namedPane(item);
    };
}

} // namespace Marrowbell
