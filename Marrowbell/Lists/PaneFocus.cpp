#include "Lists/PaneFocus.h"

#include "Lists/CollectionListControllerBase.h"
#include "Lists/ListBinding.h"
#include "Model/MainViewModel.h"
#include "Observation/ObservationTracking.h"

#include <QPointer>

namespace Marrowbell {

void followActivePane(CollectionListControllerBase& list, MainViewModel& model) {
    list.setFocusedTag(bindObserved(model, &MainViewModel::activePane));
    list.syncFirstResponder();
    const QPointer<CollectionListControllerBase> weakList(&list);
    list.tokens.push_back(ObservationTracking::observe(&model, &MainViewModel::activePane,
                                                       [weakList](int oldPane, int newPane) {
                                                           if (weakList && oldPane != newPane) {
                                                               weakList->syncFirstResponder();
                                                           }
                                                       }));
}

} // namespace Marrowbell
