#include "Lists/ContainerList.h"

#include "Lists/PaneFocus.h"
#include "Model/MainViewModel.h"
#include "Observation/ObservationTracking.h"

#include <QPointer>

namespace Marrowbell {
namespace {

constexpr int rootPaneTag = 0;

void configureContainerCell(TableCell& cell, ContainerKind kind, const Defaults& defaults) {
    cell.title = containerKindTitle(kind);
    cell.glyph = containerKindSymbolName(kind);
    cell.showGlyphBackground = false;
    cell.refreshAppearance(defaults);
}

void followSelectedKind(ContainerList& list, MainViewModel& model,
                        const std::optional<ContainerKind>& oldKind,
                        const std::optional<ContainerKind>& newKind) {
    if (newKind && newKind != oldKind) {
        if (auto path = navigationPathForKind(model.navigationPath.get(), *newKind)) {
            model.navigationPath.set(std::move(*path));
        }
    }
    list.syncSelectionFromBinding();
}

} // namespace

std::optional<std::vector<NavigationItem>> navigationPathForKind(const std::vector<NavigationItem>& path,
                                                                 ContainerKind kind) {
    const NavigationItem item = NavigationItem::container(kind);
    if (path.size() >= 2 && path[1] == item) {
        return std::nullopt;
    }
    // An opened collection belongs to the kind it was opened from; the new kind's list opens its own.
    return std::vector<NavigationItem>{path.empty() ? NavigationItem::root() : path.front(), item};
}

std::unique_ptr<ContainerList> makeContainerList(MainViewModel& model, const ListEnvironment& environment) {
    const std::vector<ContainerKind> kinds(allContainerKinds.cbegin(), allContainerKinds.cend());
    const ContainerList::SelectionBinding selection{
        [&model] { return model.selectedContainerKindID.get(); },
        [&model](const std::optional<QString>& kindID) { model.selectContainerKind(kindID); }};
    auto list = std::make_unique<ContainerList>(
        environment, kinds, selection, rootPaneTag, QStringLiteral("ContainerList"),
        [&defaults = environment.defaults](TableCell& cell, ContainerKind kind, CellConfiguration) {
            configureContainerCell(cell, kind, defaults);
        },
        [](ContainerKind) {});
    followActivePane(*list, model);

    const QPointer<ContainerList> weakList(list.get());
    list->tokens.push_back(
        ObservationTracking::observe(&model, &MainViewModel::selectedContainerKind,
                                     [weakList, &model](const std::optional<ContainerKind>& oldKind,
                                                        const std::optional<ContainerKind>& newKind) {
                                         if (weakList) {
                                             followSelectedKind(*weakList, model, oldKind, newKind);
                                         }
                                     }));
    return list;
}

} // namespace Marrowbell
