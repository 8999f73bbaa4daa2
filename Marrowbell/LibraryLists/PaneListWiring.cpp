#include "LibraryLists/PaneListWiring.h"

#include "ErrorReporting/ErrorReporting.h"
#include "LibraryModels/FutureSupport.h"
#include "Platform/AppLoggers.h"

#include <QMenu>

namespace Marrowbell {

std::unique_ptr<QMenu> makeContextMenu(const std::vector<MenuEntry>& entries) {
    auto menu = std::make_unique<QMenu>();
    for (const MenuEntry& entry : entries) {
        QObject::connect(menu->addAction(entry.title), &QAction::triggered, menu.get(), entry.action);
    }
    return menu;
}

void reportSongPlayFailure(MainViewModel& model, const std::exception_ptr& error) {
    if (isCancellation(error)) {
        return;
    }
    ErrorReporting::report(error, "play_song");
    logFailure(AppLoggers::playback(), "Failed to play song: %@", error);
    model.showPlayError.set(true);
}

} // namespace Marrowbell
