#include "MusicKit/MusicPlayerState.h"

namespace MusicKit {

void MusicPlayerState::setRepeatMode(std::optional<MusicPlayerRepeatMode> mode) {
    Q_EMIT objectWillChange();
    repeatMode_ = mode;
}

void MusicPlayerState::setShuffleMode(std::optional<MusicPlayerShuffleMode> mode) {
    const bool shuffled = shufflesSongs();
    Q_EMIT objectWillChange();
    shuffleMode_ = mode;
    if (shuffled != shufflesSongs() && shufflingDidChange_) {
        shufflingDidChange_(shufflesSongs());
    }
}

void MusicPlayerState::setPlaybackStatus(MusicPlayerPlaybackStatus status) {
    if (status == playbackStatus_) {
        return;
    }
    Q_EMIT objectWillChange();
    playbackStatus_ = status;
}

} // namespace MusicKit
