#pragma once

#include "Lists/CollectionListControllerBase.h"
#include "Lists/PaneFocus.h"
#include "Model/MainViewModel.h"
#include "Observation/ObservationTracking.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QMenu;

namespace Marrowbell {

/// Re-syncs `list`'s selected row after every change of `field` on `model`, whoever made it.
template <class Value>
void followSelection(CollectionListControllerBase& list, MainViewModel& model,
                     Observed<Value> MainViewModel::*field) {
    const QPointer<CollectionListControllerBase> weakList(&list);
    list.tokens.push_back(ObservationTracking::observe(&model, field, [weakList](const Value&, const Value&) {
        if (weakList) {
            weakList->syncSelectionFromBinding();
        }
    }));
}

/// A menu entry: its title and what choosing it does.
struct MenuEntry {
    QString title;
    std::function<void()> action;
};

/// A context menu holding `entries` in order.
std::unique_ptr<QMenu> makeContextMenu(const std::vector<MenuEntry>& entries);

/// The failure of a play the user asked for: reported as "play_song", logged, and the play-error alert
/// raised. Cancellations are only dropped.
void reportSongPlayFailure(MainViewModel& model, const std::exception_ptr& error);

} // namespace Marrowbell
