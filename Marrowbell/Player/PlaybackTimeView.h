#pragma once

#include <QWidget>
#include <optional>

namespace Marrowbell {

/// The thin progress line along the bottom of the player bar's centre panel: a 2-pixel track across the
/// full width and a fill for the played part. A click in it asks to seek to the matching time; an item
/// without a duration (a station) or a view without width ignores clicks. GUI thread.
class PlaybackTimeView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int viewHeight = 8;
    static constexpr int lineHeight = 2;

    explicit PlaybackTimeView(QWidget* parent = nullptr);

    void setTimes(double time, double maxTime);
    double time() const { return time_; }
    double maxTime() const { return maxTime_; }

    /// The fill's width in a track `width` wide, within 0 and `width`.
    static double fillWidth(double width, double time, double maxTime);
    /// The time a click at `x` in a track `width` wide asks for, within 0 and `maxTime`; nothing without a
    /// duration or a width.
    static std::optional<double> seekTime(double x, double width, double maxTime);

Q_SIGNALS:
    void seekRequested(double seconds);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    double time_ = 0.0;
    double maxTime_ = 0.0;
    std::optional<QPointF> pressedAt_;
};

} // namespace Marrowbell
