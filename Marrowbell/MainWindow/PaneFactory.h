#pragma once

#include "Navigation/NavigationItem.h"

#include <QWidget>
#include <functional>

namespace Marrowbell {

class AppModels;
struct ListEnvironment;

/// Makes the pane of one navigation item: the root list, a kind's list or a collection's songs. The caller
/// takes ownership. GUI thread.
using PaneFactory = std::function<QWidget*(const NavigationItem& item)>;

/// The application's panes: the root list of kinds, each kind's list, and an opened collection's songs.
PaneFactory makeLibraryPaneFactory(AppModels& models, const ListEnvironment& environment);

} // namespace Marrowbell
