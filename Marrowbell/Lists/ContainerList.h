#pragma once

#include "Lists/CollectionListController.h"
#include "Navigation/ContainerKind.h"
#include "Navigation/NavigationItem.h"

#include <memory>
#include <optional>
#include <vector>

namespace Marrowbell {

class MainViewModel;

using ContainerList = CollectionListController<ContainerKind>;

/// The pod's root column: the six kinds, each with its symbol. Choosing a row selects the kind in `model`;
/// whenever the selected kind changes, by this list or otherwise, the path's second item becomes that kind
/// and the list's selection follows. Its focused pane is `model`'s active pane. No double-click action and no
/// menu. GUI thread only.
std::unique_ptr<ContainerList> makeContainerList(MainViewModel& model, const ListEnvironment& environment);

/// The navigation path once `kind` is selected: its second item is that kind, and an opened collection of
/// another kind is dropped. nullopt when `path` already shows `kind`.
std::optional<std::vector<NavigationItem>> navigationPathForKind(const std::vector<NavigationItem>& path,
                                                                 ContainerKind kind);

} // namespace Marrowbell
