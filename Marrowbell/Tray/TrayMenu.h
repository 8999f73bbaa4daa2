#pragma once

#include <QObject>
#include <functional>

class QMenu;
class QSystemTrayIcon;

namespace Marrowbell {

class MainViewModel;

/// Fills `menu` anew with the transport items ("Play" or "Pause", "Next Track", "Previous Track", enabled
/// while something is in the player) and "Quit". Play or pause is decided when chosen. GUI thread.
void fillTrayMenu(QMenu& menu, MainViewModel& model, const std::function<void()>& quit);

/// A tray icon whose menu is filled anew each time it opens and whose click shows the main window; nothing
/// when the desktop has no tray. The icon belongs to `parent`. GUI thread.
QSystemTrayIcon* makeTrayIcon(MainViewModel& model, std::function<void()> showMainWindow,
                              std::function<void()> quit, QObject* parent);

} // namespace Marrowbell
