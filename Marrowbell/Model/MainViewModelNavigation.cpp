#include "Model/MainViewModel.h"
#include "Observation/AnimationContext.h"

namespace Marrowbell {
namespace {

constexpr double paneMoveDuration = 0.3;

} // namespace

void MainViewModel::navigateBack() {
    const int pane = activePane.get();
    if (pane < 1) {
        return;
    }
    AnimationContext::runGroup({paneMoveDuration, true}, [&] { activePane.set(pane - 1); });
}

void MainViewModel::selectContainerKind(const std::optional<QString>& kindID) {
    const std::optional<ContainerKind> previous = selectedContainerKind();
    if (!kindID) {
        selectedContainerKindID.set(std::nullopt);
        return;
    }
    const ContainerKind kind = containerKindFromIDOrPlaylists(*kindID);
    selectedContainerKindID.set(containerKindID(kind));
    if (previous == kind || navigationPath.get().size() < 2) {
        return;
    }
    // An opened collection belongs to the previous kind; the new kind's list opens its own.
    navigationPath.set({NavigationItem::root(), NavigationItem::container(kind)});
    if (activePane.get() > 1) {
        activePane.set(1);
    }
}

void MainViewModel::showSongCollection(ContainerKind kind, const QString& id, const QString& title,
                                       std::vector<LocalSong> songs) {
    if (!opensSongCollections(kind) || selectedContainerKind() != kind) {
        return;
    }
    std::vector<NavigationItem> path = navigationPath.get();
    if (path.size() < 2) {
        return;
    }
    path.resize(2);
    path.push_back(NavigationItem::songCollection(id, title));
    detailSongs.set(std::move(songs));
    navigationPath.set(std::move(path));
}

} // namespace Marrowbell
