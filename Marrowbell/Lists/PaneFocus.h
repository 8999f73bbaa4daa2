#pragma once

namespace Marrowbell {

class CollectionListControllerBase;
class MainViewModel;

/// Makes `list` follow the pod's active pane: gaining focus from the user writes its tag into it, and it
/// takes the keyboard focus whenever the pane becomes its own (now, too). GUI thread.
void followActivePane(CollectionListControllerBase& list, MainViewModel& model);

} // namespace Marrowbell
