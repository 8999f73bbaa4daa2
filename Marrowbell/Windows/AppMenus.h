#pragma once

#include <QObject>
#include <functional>

class QMainWindow;
class QSystemTrayIcon;

namespace Marrowbell {

/// What the menu items do.
struct MenuActions {
    std::function<void()> quit;
    std::function<void()> showMainWindow;
    std::function<void()> openSettings;
    std::function<void()> openFeedback;
    std::function<void()> openKeyboardShortcuts;
    std::function<void()> checkForUpdates;
    std::function<void()> resetData;
    std::function<void()> showAbout;
};

/// Puts the application's menus into the main window's menu bar. GUI thread.
void installMenuBar(QMainWindow& window, const MenuActions& actions);

/// A tray icon with a Quit item whose click shows the main window, or nothing when the desktop has no tray.
/// The icon belongs to `parent`. GUI thread.
QSystemTrayIcon* makeTrayIcon(const MenuActions& actions, QObject* parent);

} // namespace Marrowbell
