#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace MusicKit {
class ApplicationMusicPlayer;
}

namespace Marrowbell {

class MainViewModel;
class UpNextView;

/// The up-next list on a floating panel inside the window of `button` (the bar's up-next button), above
/// the button and centred on it. A part of that window rather than a window of its own, so that the list is
/// in the window's accessibility tree and the window's keys reach it. It opens with the keyboard focus in
/// the list and closes on Escape, handing the focus back to where it was; it also closes, leaving the
/// focus alone, when the focus moves outside it and on a press outside it but on `button`. GUI thread.
class UpNextPanel final : public QObject {
    Q_OBJECT

public:
    UpNextPanel(MainViewModel& model, MusicKit::ApplicationMusicPlayer& player, QWidget& button,
                QObject* parent = nullptr);
    ~UpNextPanel() override;

    UpNextView& view() const { return *view_; }
    bool isOpen() const;
    void open();
    void close();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();
    void focusMoved(QWidget* now);

    QWidget& button_;
    /// The panel goes with its window, which may go first; kept as a plain widget, which it still is while
    /// it is being destroyed.
    QPointer<QWidget> panel_;
    QWidget* card_;
    UpNextView* view_;
    QPointer<QWidget> focusBeforeOpening_;
};

} // namespace Marrowbell
