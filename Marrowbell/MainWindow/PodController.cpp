#include "MainWindow/PodController.h"

#include "Lists/KeyHandlingTableView.h"
#include "MainWindow/PodPagingView.h"
#include "Model/MainViewModel.h"
#include "Observation/AnimationContext.h"
#include "Observation/ObservationTracking.h"
#include "Platform/AppNotifications.h"

#include <QApplication>
#include <QTimer>

namespace Marrowbell {
namespace {

struct PathDifference {
    /// Old indices, highest first.
    std::vector<int> removals;
    /// New indices, lowest first.
    std::vector<int> insertions;
};

// The longest common subsequence stays; everything else of the old path goes and of the new path comes.
PathDifference difference(const std::vector<NavigationItem>& from, const std::vector<NavigationItem>& to) {
    const std::size_t n = from.size();
    const std::size_t m = to.size();
    std::vector<std::vector<int>> common(n + 1, std::vector<int>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            common[i][j] =
                from[i] == to[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
        }
    }
    std::vector<bool> keptOld(n, false);
    std::vector<bool> keptNew(m, false);
    for (std::size_t i = 0, j = 0; i < n && j < m;) {
        if (from[i] == to[j]) {
            keptOld[i++] = true;
            keptNew[j++] = true;
        } else if (common[i + 1][j] >= common[i][j + 1]) {
            ++i;
        } else {
            ++j;
        }
    }
    PathDifference result;
    for (std::size_t i = n; i-- > 0;) {
        if (!keptOld[i]) {
            result.removals.push_back(static_cast<int>(i));
        }
    }
    for (std::size_t j = 0; j < m; ++j) {
        if (!keptNew[j]) {
            result.insertions.push_back(static_cast<int>(j));
        }
    }
    return result;
}

} // namespace

PodController::PodController(MainViewModel& model, AppNotifications& notifications, PaneFactory makePane,
                             QObject* parent)
    : QObject(parent)
    , model_(model)
    , makePane_(std::move(makePane))
    , view_(new PodPagingView(model)) {
    connect(view_, &PodPagingView::navigateLeftRequested, this, &PodController::navigateLeft);
    connect(view_, &PodPagingView::navigateRightRequested, this, &PodController::navigateRight);
    connect(&notifications, &AppNotifications::navigateRightOnSelection, this,
            &PodController::navigateRightOnSelection);
    connect(this, &PodController::boundaryReached, this, [] { QApplication::beep(); });
    pathToken_ = ObservationTracking::observe(&model_, &MainViewModel::navigationPath,
                                              [this](const auto&, const auto&) { updatePods(); });
    updatePods();
}

PodController::~PodController() = default;

void PodController::updatePods() {
    if (!view_) {
        return;
    }
    const std::vector<NavigationItem> path = model_.navigationPath.get();
    const PathDifference changes = difference(displayedPath_, path);
    for (int index : changes.removals) {
        view_->removePane(index);
    }
    for (int index : changes.insertions) {
        insertPane(index, path[static_cast<std::size_t>(index)]);
    }
    displayedPath_ = path;
}

void PodController::insertPane(int index, const NavigationItem& item) {
    QWidget* pane = makePane_(item);
    view_->insertPane(index, pane);
    auto tables = pane->findChildren<KeyHandlingTableView*>();
    if (auto* table = qobject_cast<KeyHandlingTableView*>(pane)) {
        tables.push_back(table);
    }
    for (KeyHandlingTableView* table : tables) {
        connect(table, &KeyHandlingTableView::leftKeyPressed, this, &PodController::navigateLeft);
        connect(table, &KeyHandlingTableView::rightKeyPressed, this, &PodController::navigateRight);
    }
}

int PodController::lastPaneIndex() const {
    const std::optional<ContainerKind> kind = model_.selectedContainerKind();
    const int kindLast = kind && opensSongCollections(*kind) ? 2 : 1;
    return std::max(0, std::min(kindLast, static_cast<int>(displayedPath_.size()) - 1));
}

void PodController::navigateLeft() {
    const int active = model_.activePane.get();
    if (active <= 0) {
        Q_EMIT boundaryReached();
        return;
    }
    moveActivePane(std::min(active - 1, lastPaneIndex()));
}

void PodController::navigateRight() {
    const int active = model_.activePane.get();
    if (active >= lastPaneIndex()) {
        Q_EMIT boundaryReached();
        return;
    }
    moveActivePane(active + 1);
}

void PodController::navigateRightOnSelection() {
    if (!view_ || model_.activePane.get() >= lastPaneIndex() || view_->visiblePaneCount() != 1) {
        return;
    }
    // The path may change, or another click move first, before the delayed move runs.
    QTimer::singleShot(moveAfterSelectionDelayMs, this, [this] {
        const int active = model_.activePane.get();
        if (active < lastPaneIndex()) {
            moveActivePane(active + 1);
        }
    });
}

void PodController::moveActivePane(int pane) {
    AnimationContext::runGroup({paneMoveDuration, true}, [&] { model_.activePane.set(pane); });
}

} // namespace Marrowbell
