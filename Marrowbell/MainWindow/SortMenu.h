#pragma once

#include "Navigation/ContainerKind.h"

#include <optional>

class QMenu;

namespace Marrowbell {

class AppModels;

/// Fills `menu` with the sort choices of `kind`'s list under a section titled "Sort Songs" (Albums, Artists,
/// Playlists): the orders, a separator, then "Ascending" and "Descending", the current ones checked;
/// choosing one sets it on the list model. No kind counts as playlists; Made for You and Stations have no
/// choices. GUI thread.
void fillSortMenu(QMenu& menu, AppModels& models, std::optional<ContainerKind> kind);

/// Whether `kind` has sort choices.
bool hasSortChoices(std::optional<ContainerKind> kind);

} // namespace Marrowbell
