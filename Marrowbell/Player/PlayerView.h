#pragma once

#include <QWidget>
#include <memory>
#include <vector>

namespace MusicKit {
class ApplicationMusicPlayer;
}

namespace Marrowbell {

class MainViewModel;
class ObservationTrackingToken;
class PlayerButton;
class PlayerHoodie;
class UpNextPanel;
class UpNextView;

/// The player bar's content, in one row: previous, play or pause, next, the centre panel (PlayerHoodie),
/// repeat, shuffle and the up-next button, whose list opens on a panel above it. It follows the central
/// model's playing fields and starts its playback operations; an Alt-click on pause stops. Tab reaches its
/// buttons, which a screen reader reads by name (Play or Pause as shown) and, for Repeat and Shuffle, as on
/// or off (Repeat's description says Off, All or One). GUI thread.
class PlayerView final : public QWidget {
    Q_OBJECT

public:
    PlayerView(MainViewModel& model, MusicKit::ApplicationMusicPlayer& player, QWidget* parent = nullptr);
    ~PlayerView() override;

    PlayerButton* previousButton() const { return previous_; }
    PlayerButton* playPauseButton() const { return playPause_; }
    PlayerButton* nextButton() const { return next_; }
    PlayerButton* repeatButton() const { return repeat_; }
    PlayerButton* shuffleButton() const { return shuffle_; }
    PlayerButton* upNextButton() const { return upNext_; }
    PlayerHoodie* hoodie() const { return hoodie_; }
    /// The open up-next list, or null.
    UpNextView* upNext() const;

    /// Opens the up-next list over its button, with the keyboard focus; an open list stays as it is.
    void showUpNext();

private:
    void followModel();
    void refresh();
    void playOrPause();

    MainViewModel& model_;
    MusicKit::ApplicationMusicPlayer& player_;
    PlayerButton* previous_;
    PlayerButton* playPause_;
    PlayerButton* next_;
    PlayerHoodie* hoodie_;
    PlayerButton* repeat_;
    PlayerButton* shuffle_;
    PlayerButton* upNext_;
    UpNextPanel* upNextPanel_ = nullptr;
    std::vector<std::shared_ptr<ObservationTrackingToken>> tokens_;
};

} // namespace Marrowbell
