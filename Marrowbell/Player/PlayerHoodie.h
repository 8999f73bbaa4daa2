#pragma once

#include <QWidget>

class QLabel;

namespace Marrowbell {

class ArtworkView;
class MainViewModel;
class PlaybackTimeView;
class PlayerButton;

/// The player bar's centre panel: the playing item's artwork, title and subtitle over a faint background,
/// with the time bar along its bottom edge, all cut to a rounded shape. With nothing playing it shows an
/// empty square at its left. While the pointer is over it and the playing song is not in the library it
/// offers "Add to Library" right after the title; while the pointer is over the playing item's artwork and a
/// snap-back place is saved, "Library SnapBack" covers the artwork. GUI thread.
class PlayerHoodie final : public QWidget {
    Q_OBJECT

public:
    static constexpr int panelHeight = 36;
    static constexpr int artworkSize = 36;

    explicit PlayerHoodie(MainViewModel& model, QWidget* parent = nullptr);

    /// Shows what the model holds now.
    void refresh();
    /// Shows the model's playing time and duration on the time bar only.
    void showTimes();

    ArtworkView* artwork() const { return artwork_; }
    QLabel* titleLabel() const { return title_; }
    QLabel* subtitleLabel() const { return subtitle_; }
    PlaybackTimeView* timeBar() const { return timeBar_; }
    PlayerButton* addButton() const { return add_; }
    PlayerButton* snapBackButton() const { return snapBack_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeArtworkPart();
    QWidget* makeTitlePart();
    void updateTitleRow();
    void updateHoverActions();
    void showTexts();

    MainViewModel& model_;
    QWidget* artworkPart_ = nullptr;
    ArtworkView* artwork_ = nullptr;
    PlayerButton* snapBack_ = nullptr;
    QWidget* titlePart_ = nullptr;
    QWidget* balance_ = nullptr;
    QLabel* title_ = nullptr;
    PlayerButton* add_ = nullptr;
    QLabel* subtitle_ = nullptr;
    PlaybackTimeView* timeBar_ = nullptr;
    QString titleText_;
    QString subtitleText_;
    bool isInsideHoodie_ = false;
    bool isInsideArtwork_ = false;
};

} // namespace Marrowbell
