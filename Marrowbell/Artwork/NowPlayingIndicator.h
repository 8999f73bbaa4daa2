#pragma once

#include <QMetaObject>
#include <QWidget>

namespace Marrowbell {

class NowPlayingAnimationClock;

/// The animated now-playing bars over a translucent black square (clipped to `cornerRadius`). Becoming
/// visible starts the bars from their first phase; hidden, it neither repaints nor keeps the shared clock
/// running. Transparent for the mouse, so the widget under it takes clicks and hovering. GUI thread only.
class NowPlayingIndicator : public QWidget {
    Q_OBJECT

public:
    explicit NowPlayingIndicator(QWidget* parent = nullptr);
    NowPlayingIndicator(NowPlayingAnimationClock& clock, QWidget* parent);

    void setCornerRadius(qreal radius);
    qreal cornerRadius() const { return cornerRadius_; }

    /// True while the bars follow the clock (from being shown until being hidden).
    bool isAnimating() const { return bool(clockConnection_); }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    NowPlayingAnimationClock& clock_;
    QMetaObject::Connection clockConnection_;
    double shownAt_ = 0;
    qreal cornerRadius_ = 0;
};

} // namespace Marrowbell
