#include "Windows/AppMenus.h"

#include "Windows/AppIcon.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSystemTrayIcon>

namespace Marrowbell {
namespace {

QAction* addItem(QMenu* menu, const QString& title, const std::function<void()>& action,
                 const QKeySequence& shortcut = {}) {
    QAction* item = menu->addAction(title);
    item->setShortcut(shortcut);
    QObject::connect(item, &QAction::triggered, menu, [action] { action(); });
    return item;
}

} // namespace

void installMenuBar(QMainWindow& window, const MenuActions& actions) {
    QMenuBar* bar = window.menuBar();

    QMenu* application = bar->addMenu(QObject::tr("&Marrowbell"));
    addItem(application, QObject::tr("About Marrowbell"), actions.showAbout)->setMenuRole(QAction::AboutRole);
    addItem(application, QObject::tr("Settings…"), actions.openSettings,
            QKeySequence(QStringLiteral("Ctrl+,")))
        ->setMenuRole(QAction::PreferencesRole);
    addItem(application, QObject::tr("Check for Updates…"), actions.checkForUpdates);
    application->addSeparator();
    addItem(application, QObject::tr("Quit"), actions.quit, QKeySequence(QStringLiteral("Ctrl+Q")))
        ->setMenuRole(QAction::QuitRole);

    QMenu* help = bar->addMenu(QObject::tr("&Help"));
    addItem(help, QObject::tr("Send Feedback…"), actions.openFeedback);
    help->addSeparator();
    addItem(help, QObject::tr("Reset Data"), actions.resetData);
    help->addSeparator();
    addItem(help, QObject::tr("Keyboard Shortcuts"), actions.openKeyboardShortcuts);
}

QSystemTrayIcon* makeTrayIcon(const MenuActions& actions, QObject* parent) {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return nullptr;
    }
    auto* tray = new QSystemTrayIcon(appIcon(), parent);
    tray->setToolTip(QObject::tr("Marrowbell"));
    auto* menu = new QMenu;
    QObject::connect(tray, &QObject::destroyed, [menu] { delete menu; });
    addItem(menu, QObject::tr("Quit"), actions.quit);
    tray->setContextMenu(menu);
    QObject::connect(tray, &QSystemTrayIcon::activated, tray,
                     [showMainWindow = actions.showMainWindow](auto reason) {
                         if (reason == QSystemTrayIcon::Trigger) {
                             showMainWindow();
                         }
                     });
    tray->show();
    return tray;
}

} // namespace Marrowbell
