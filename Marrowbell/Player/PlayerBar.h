#pragma once

#include "MainWindow/OverlayPlacement.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

namespace MusicKit {
class ApplicationMusicPlayer;
}

namespace Marrowbell {

class PlayerView;
class MainViewModel;

/// The floating player bar: a rounded, translucent card holding the PlayerView, with a soft shadow in an
/// 8-pixel margin round it, laid over the bottom edge of `host` (the main window's content) and centred on
/// it. It attaches on the host's first show (at once when the host is already shown), is re-sized and
/// re-centred on every resize of the host; only its buttons take the keyboard focus, by Tab. GUI thread.
class PlayerBar final : public QWidget {
    Q_OBJECT

public:
    static constexpr int inset = OverlayPlacement::inset;
    static constexpr qreal cornerRadius = 22.0;

    PlayerBar(MainViewModel& model, MusicKit::ApplicationMusicPlayer& player, QWidget* host);

    /// The bar's frame, shadow margin included, over a host of `hostSize`: the window's floating-panel
    /// width (160 narrower than the host within 360 and 600), centred, its bottom on the host's bottom edge.
    static QRect frameIn(QSize hostSize);

    PlayerView* view() const { return view_; }
    bool isAttached() const { return isAttached_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void attach();
    void place();

    QPointer<QWidget> host_;
    PlayerView* view_;
    bool isAttached_ = false;
};

} // namespace Marrowbell
