#pragma once

#include "MainWindow/PaneFactory.h"
#include "Navigation/NavigationItem.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

namespace Marrowbell {

class AppNotifications;
class MainViewModel;
class ObservationTrackingToken;
class PodPagingView;

/// Keeps one pane per item of the central model's navigation path in the paging view, applying only the
/// difference between the path shown and the model's path (an item that stays keeps its pane), and moves
/// the active pane on request: the paging view's keys and swipes, and a row click in a one-pane pod. Every
/// move stays within the panes that exist; a move past either end emits boundaryReached() (a beep) instead.
/// GUI thread only.
class PodController final : public QObject {
    Q_OBJECT

public:
    /// A row click moves right this long after the click.
    static constexpr int moveAfterSelectionDelayMs = 100;
    static constexpr double paneMoveDuration = 0.3;

    /// Makes the paging view (owned by whoever places it) and shows the model's path in it at once.
    PodController(MainViewModel& model, AppNotifications& notifications, PaneFactory makePane,
                  QObject* parent = nullptr);
    ~PodController() override;

    PodPagingView* view() const { return view_; }
    const std::vector<NavigationItem>& displayedNavigationPath() const { return displayedPath_; }

    /// Brings the panes in line with the model's path.
    void updatePods();
    void navigateLeft();
    void navigateRight();
    /// A row was clicked: in a one-pane pod, moves one pane right shortly after.
    void navigateRightOnSelection();

    /// The highest pane index a move may reach: the kind's last level, bounded by the panes present.
    int lastPaneIndex() const;

Q_SIGNALS:
    /// A move was asked past the first or the last pane.
    void boundaryReached();

private:
    void insertPane(int index, const NavigationItem& item);
    void moveActivePane(int pane);

    MainViewModel& model_;
    PaneFactory makePane_;
    QPointer<PodPagingView> view_;
    std::vector<NavigationItem> displayedPath_;
    std::shared_ptr<ObservationTrackingToken> pathToken_;
};

} // namespace Marrowbell
