#include "Tray/TrayMenu.h"

#include "Model/MainViewModel.h"
#include "Windows/AppIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace Marrowbell {

void fillTrayMenu(QMenu& menu, MainViewModel& model, const std::function<void()>& quit) {
    menu.clear();
    const bool stopped = model.isStopped.get();
    QAction* playPause = menu.addAction(model.isPlaying.get() ? QObject::tr("Pause") : QObject::tr("Play"));
    QObject::connect(playPause, &QAction::triggered, &model, [&model] {
        if (model.isPlaying.get()) {
            model.pause();
        } else {
            model.resume();
        }
    });
    QAction* next = menu.addAction(QObject::tr("Next Track"));
    QObject::connect(next, &QAction::triggered, &model, [&model] { model.skipToNextEntry(); });
    QAction* previous = menu.addAction(QObject::tr("Previous Track"));
    QObject::connect(previous, &QAction::triggered, &model, [&model] { model.skipToPreviousEntry(); });
    for (QAction* item : {playPause, next, previous}) {
        item->setEnabled(!stopped);
    }
    menu.addSeparator();
    QAction* quitItem = menu.addAction(QObject::tr("Quit"));
    QObject::connect(quitItem, &QAction::triggered, &menu, [quit] { quit(); });
}

QSystemTrayIcon* makeTrayIcon(MainViewModel& model, std::function<void()> showMainWindow,
                              std::function<void()> quit, QObject* parent) {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return nullptr;
    }
    auto* tray = new QSystemTrayIcon(appIcon(), parent);
    tray->setToolTip(QObject::tr("Marrowbell"));
    auto* menu = new QMenu;
    QObject::connect(tray, &QObject::destroyed, menu, [menu] { delete menu; });
    fillTrayMenu(*menu, model, quit);
    QObject::connect(menu, &QMenu::aboutToShow, menu,
                     [menu, &model, quit = std::move(quit)] { fillTrayMenu(*menu, model, quit); });
    tray->setContextMenu(menu);
    QObject::connect(tray, &QSystemTrayIcon::activated, tray,
                     [showMainWindow = std::move(showMainWindow)](QSystemTrayIcon::ActivationReason reason) {
                         if (reason == QSystemTrayIcon::Trigger) {
                             showMainWindow();
                         }
                     });
    tray->show();
    return tray;
}

} // namespace Marrowbell
