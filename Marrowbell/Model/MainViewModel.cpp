#include "Model/MainViewModel.h"

#include "App/AppEnvironment.h"
#include "Model/MainViewModelPlaybackSupport.h"

#include <MusicKit/ApplicationMusicPlayer.h>

namespace Marrowbell {

using MusicKit::MusicPlayerRepeatMode;
using MusicKit::MusicPlayerShuffleMode;

MainViewModel::MainViewModel(AppEnvironment& environment, MusicKit::ApplicationMusicPlayer& player,
                             QObject* parent)
    : QObject(parent)
    , environment_(environment)
    , player_(player)
    , playbackSupport_(std::make_unique<MainViewModelPlaybackSupport>()) {}

MainViewModel::~MainViewModel() {
    for (const auto& connection : cancellables) {
        disconnect(connection);
    }
    if (pendingPlayerThumbnailTask) {
        pendingPlayerThumbnailTask->request_stop();
    }
}

std::optional<ContainerKind> MainViewModel::selectedContainerKind() const {
    const auto& id = selectedContainerKindID.get();
    if (!id) {
        return std::nullopt;
    }
    return containerKindFromIDOrPlaylists(*id);
}

MusicPlayerRepeatMode MainViewModel::repeatMode() const {
    registrar_.access(repeatModeKey_.key());
    return player_.state().repeatMode().value_or(MusicPlayerRepeatMode::none);
}

void MainViewModel::setRepeatMode(MusicPlayerRepeatMode mode) {
    registrar_.withMutation(repeatModeKey_.key(), [&] { player_.state().setRepeatMode(mode); });
}

void MainViewModel::cycleRepeatMode() {
    switch (repeatMode()) {
    case MusicPlayerRepeatMode::all:
        setRepeatMode(MusicPlayerRepeatMode::one);
        break;
    case MusicPlayerRepeatMode::one:
        setRepeatMode(MusicPlayerRepeatMode::none);
        break;
    case MusicPlayerRepeatMode::none:
        setRepeatMode(MusicPlayerRepeatMode::all);
        break;
    }
}

bool MainViewModel::isShuffled() const {
    registrar_.access(isShuffledKey_.key());
    return player_.state().shufflesSongs();
}

void MainViewModel::setShuffled(bool shuffled) {
    if (shuffled == player_.state().shufflesSongs()) {
        return;
    }
    registrar_.withMutation(isShuffledKey_.key(), [&] {
        player_.state().setShuffleMode(shuffled ? MusicPlayerShuffleMode::songs
                                                : MusicPlayerShuffleMode::off);
    });
}

QString MainViewModel::navigationTitle() const {
    const auto& path = navigationPath.get();
    const int pane = activePane.get();
    const NavigationItem* item = nullptr;
    if (isSingleColumn.get() && pane >= 0 && static_cast<std::size_t>(pane) < path.size()) {
        item = &path[static_cast<std::size_t>(pane)];
    } else if (isDoubleColumn.get() && path.size() >= 2) {
        item = &path[1];
    }
    if (item) {
        if (const auto* container = item->as<NavigationItem::Container>()) {
            return containerKindTitle(container->kind);
        }
        if (const auto* collection = item->as<NavigationItem::SongCollection>()) {
            return collection->title;
        }
    }
    return QStringLiteral("Marrowbell");
}

void MainViewModel::seekTo(double seconds) {
    currentPlayingTime.set(seconds);
    player_.setPlaybackTime(seconds);
}

} // namespace Marrowbell
