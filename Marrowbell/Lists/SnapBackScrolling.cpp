#include "Lists/SnapBackScrolling.h"

#include "Lists/CollectionListControllerBase.h"
#include "Model/MainViewModel.h"

namespace Marrowbell {

void scrollListsOnSnapBack(MainViewModel& model) {
    QObject::connect(&model, &MainViewModel::snapBackSelectionsWillRestore, &model, [] {
        CollectionListControllerBase::forgetSavedScrollPositions();
        CollectionListControllerBase::beginScrollToSelection();
    });
    QObject::connect(&model, &MainViewModel::snapBackSelectionsRestored, &model,
                     &CollectionListControllerBase::endScrollToSelection);
}

} // namespace Marrowbell
