#pragma once

#include <QObject>
#include <functional>
#include <optional>

namespace MusicKit {

enum class MusicPlayerPlaybackStatus { stopped, playing, paused };
enum class MusicPlayerRepeatMode { none, one, all };
enum class MusicPlayerShuffleMode { off, songs };

/// The application player's state: its playback status and the repeat and shuffle modes. The
/// modes may be absent, which the player treats as none and off. objectWillChange() is emitted
/// before every change, on the GUI thread, which is the only thread to use it from.
class MusicPlayerState : public QObject {
    Q_OBJECT
public:
    explicit MusicPlayerState(QObject* parent = nullptr)
        : QObject(parent) {}

    MusicPlayerPlaybackStatus playbackStatus() const { return playbackStatus_; }
    std::optional<MusicPlayerRepeatMode> repeatMode() const { return repeatMode_; }
    std::optional<MusicPlayerShuffleMode> shuffleMode() const { return shuffleMode_; }

    void setRepeatMode(std::optional<MusicPlayerRepeatMode> mode);
    /// Turning shuffle on reorders the queue at once (every entry kept once); turning it off
    /// restores the order the queue had.
    void setShuffleMode(std::optional<MusicPlayerShuffleMode> mode);

    bool repeats(MusicPlayerRepeatMode mode) const { return repeatMode_ == mode; }
    bool shufflesSongs() const { return shuffleMode_ == MusicPlayerShuffleMode::songs; }

Q_SIGNALS:
    void objectWillChange();

private:
    friend class ApplicationMusicPlayer;
    void setPlaybackStatus(MusicPlayerPlaybackStatus status);

    MusicPlayerPlaybackStatus playbackStatus_ = MusicPlayerPlaybackStatus::stopped;
    std::optional<MusicPlayerRepeatMode> repeatMode_;
    std::optional<MusicPlayerShuffleMode> shuffleMode_;
    /// The player's reaction to a change of shuffling, run after the change.
    std::function<void(bool shuffles)> shufflingDidChange_;
};

} // namespace MusicKit
