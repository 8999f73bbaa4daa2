#pragma once

#include <QElapsedTimer>
#include <QVariantAnimation>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

namespace Marrowbell {

class MainViewModel;
class ObservationTrackingToken;

/// The pod's panes side by side: one, two or three of them visible by the view's width, shifted so that the
/// central model's active pane is in view, with a one-pixel divider between neighbours. A change of the
/// active pane made in an animating group (AnimationContext) slides the panes over the group's duration.
/// Left and Right, and a horizontal two-finger swipe (wheel events), ask for a move through the two
/// signals; the view itself never changes the model. GUI thread only.
class PodPagingView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int singlePaneWidthLimit = 400;
    static constexpr int twoPaneWidthLimit = 800;
    /// A swipe older than this ends without moving.
    static constexpr qint64 swipeTimeLimitMs = 3000;
    /// The share of the view's width a swipe travels before it moves one pane.
    static constexpr double swipeThreshold = 0.08;
    /// Wheel events without phases (most X11 touchpads) belong to one swipe until this quiet gap.
    static constexpr qint64 phaselessSwipeGapMs = 300;
    static constexpr int dividerInset = 10;

    explicit PodPagingView(MainViewModel& model, QWidget* parent = nullptr);
    ~PodPagingView() override;

    /// The pane views in pane order; each is a child of this view.
    const std::vector<QWidget*>& panes() const { return panes_; }
    /// Makes `pane` a child and the pane at `index`.
    void insertPane(int index, QWidget* pane);
    /// Removes and deletes the pane at `index`.
    void removePane(int index);

    /// The width of one pane for a view `viewWidth` wide: all of it, a half, or a third on a half-pixel grid.
    static double paneWidth(double viewWidth);
    /// The index of the leftmost pane in view for the model's active pane and kind.
    int firstVisiblePane() const;
    /// How many panes fit side by side at the current width.
    int visiblePaneCount() const;

Q_SIGNALS:
    void navigateLeftRequested();
    void navigateRightRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Swipe {
        QElapsedTimer started;
        QElapsedTimer lastEvent;
        double amount = 0.0;
        bool finished = false;
    };

    void followActivePane();
    void updateOffset(bool animated, double durationSeconds);
    void layoutPanes();
    /// True when the event was taken as part of a horizontal swipe.
    bool handleWheel(QWheelEvent* event);
    void watchWheelEvents(QWidget* pane);

    MainViewModel& model_;
    std::vector<QWidget*> panes_;
    std::vector<QWidget*> dividers_;
    double offset_ = 0.0;
    QVariantAnimation slide_;
    std::optional<Swipe> swipe_;
    std::vector<std::shared_ptr<ObservationTrackingToken>> tokens_;
};

} // namespace Marrowbell
