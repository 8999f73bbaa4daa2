#include "MainWindow/PodPagingView.h"

#include "Model/MainViewModel.h"
#include "Observation/AnimationContext.h"
#include "Observation/ObservationTracking.h"
#include "Platform/AppLoggers.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace Marrowbell {
namespace {

class DividerView final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    // The palette is read at every paint, so the line follows a change of the colour scheme.
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), palette().color(QPalette::Mid));
    }
};

// Pixels travelled horizontally; a notched wheel reports angles only (120 per notch).
double horizontalTravel(const QWheelEvent& event) {
    if (!event.pixelDelta().isNull()) {
        return event.pixelDelta().x();
    }
    return event.angleDelta().x() / 4.0;
}

bool isHorizontal(const QWheelEvent& event) {
    const QPoint delta = event.pixelDelta().isNull() ? event.angleDelta() : event.pixelDelta();
    return std::abs(delta.x()) > std::abs(delta.y());
}

} // namespace

PodPagingView::PodPagingView(MainViewModel& model, QWidget* parent)
    : QWidget(parent)
    , model_(model) {
    // The panes' lists take the focus; the pod itself only from a click on its empty part, never by Tab.
    setFocusPolicy(Qt::ClickFocus);
    for (int i = 0; i < 2; ++i) {
        auto* divider = new DividerView(this);
        divider->hide();
        dividers_.push_back(divider);
    }
    slide_.setEasingCurve(QEasingCurve::OutCubic);
    connect(&slide_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        offset_ = value.toDouble();
        layoutPanes();
    });
    followActivePane();
}

PodPagingView::~PodPagingView() = default;

void PodPagingView::followActivePane() {
    auto relayout = [this](const auto& oldValue, const auto& newValue) {
        if (oldValue != newValue) {
            const AnimationContext animation = AnimationContext::current();
            updateOffset(animation.animates(), animation.duration);
        }
    };
    tokens_.push_back(ObservationTracking::observe(&model_, &MainViewModel::activePane, relayout));
    tokens_.push_back(
        ObservationTracking::observe(&model_, &MainViewModel::selectedContainerKindID, relayout));
}

void PodPagingView::insertPane(int index, QWidget* pane) {
    pane->setParent(this);
    panes_.insert(panes_.begin() + index, pane);
    watchWheelEvents(pane);
    pane->show();
    for (QWidget* divider : dividers_) {
        divider->raise();
    }
    updateOffset(false, 0.0);
}

void PodPagingView::removePane(int index) {
    QWidget* pane = panes_[static_cast<std::size_t>(index)];
    panes_.erase(panes_.begin() + index);
    delete pane;
    updateOffset(false, 0.0);
}

double PodPagingView::paneWidth(double viewWidth) {
    if (viewWidth <= singlePaneWidthLimit) {
        return viewWidth;
    }
    if (viewWidth <= twoPaneWidthLimit) {
        return viewWidth * 0.5;
    }
    const double third = viewWidth / 3.0;
    return std::round(third + third) * 0.5;
}

int PodPagingView::visiblePaneCount() const {
    return width() <= singlePaneWidthLimit ? 1 : width() <= twoPaneWidthLimit ? 2 : 3;
}

int PodPagingView::firstVisiblePane() const {
    const int active = model_.activePane.get();
    switch (visiblePaneCount()) {
    case 1:
        return active;
    case 2: {
        const std::optional<ContainerKind> kind = model_.selectedContainerKind();
        return kind && opensSongCollections(*kind) ? std::min(active, 1) : std::min(active, 0);
    }
    default:
        return 0;
    }
}

void PodPagingView::updateOffset(bool animated, double durationSeconds) {
    const double target = firstVisiblePane() * paneWidth(width());
    slide_.stop();
    if (animated && target != offset_) {
        slide_.setDuration(static_cast<int>(durationSeconds * 1000.0));
        slide_.setStartValue(offset_);
        slide_.setEndValue(target);
        slide_.start();
        return;
    }
    offset_ = target;
    layoutPanes();
}

void PodPagingView::layoutPanes() {
    for (QWidget* divider : dividers_) {
        divider->hide();
    }
    const double pane = paneWidth(width());
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        const int left = static_cast<int>(std::lround(pane * static_cast<double>(i) - offset_));
        const int right = static_cast<int>(std::lround(pane * static_cast<double>(i + 1) - offset_));
        panes_[i]->setGeometry(left, 0, right - left, height());
    }
    for (std::size_t i = 0; i + 1 < panes_.size() && i < dividers_.size(); ++i) {
        dividers_[i]->setGeometry(panes_[i]->geometry().right() + 1, dividerInset, 1,
                                  height() - 2 * dividerInset);
        dividers_[i]->show();
    }
}

void PodPagingView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateOffset(false, 0.0);
}

void PodPagingView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
        Q_EMIT navigateLeftRequested();
        return;
    case Qt::Key_Right:
        Q_EMIT navigateRightRequested();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void PodPagingView::wheelEvent(QWheelEvent* event) {
    if (!handleWheel(event)) {
        QWidget::wheelEvent(event);
    }
}

// The lists scroll vertically only; their horizontal wheel events are the pod's.
bool PodPagingView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        return handleWheel(static_cast<QWheelEvent*>(event));
    }
    return QWidget::eventFilter(watched, event);
}

void PodPagingView::watchWheelEvents(QWidget* pane) {
    pane->installEventFilter(this);
    for (auto* area : pane->findChildren<QAbstractScrollArea*>()) {
        area->viewport()->installEventFilter(this);
    }
    if (auto* area = qobject_cast<QAbstractScrollArea*>(pane)) {
        area->viewport()->installEventFilter(this);
    }
}

bool PodPagingView::handleWheel(QWheelEvent* event) {
    const Qt::ScrollPhase phase = event->phase();
    if (phase == Qt::ScrollEnd || phase == Qt::ScrollMomentum) {
        const bool wasSwiping = swipe_.has_value();
        swipe_.reset();
        return wasSwiping;
    }
    if (!isHorizontal(*event)) {
        return false;
    }
    const bool gapEndsSwipe =
        phase == Qt::NoScrollPhase && swipe_ && swipe_->lastEvent.elapsed() > phaselessSwipeGapMs;
    if (phase == Qt::ScrollBegin || !swipe_ || gapEndsSwipe) {
        AppLoggers::app().info("Horizontal swipe did begin");
        swipe_.emplace();
        swipe_->started.start();
    }
    swipe_->lastEvent.start();
    if (swipe_->finished) {
        return true;
    }
    swipe_->amount += horizontalTravel(*event) / std::max(1, width());
    if (swipe_->started.elapsed() >= swipeTimeLimitMs) {
        swipe_->finished = true;
    } else if (swipe_->amount >= swipeThreshold) {
        swipe_->finished = true;
        Q_EMIT navigateLeftRequested();
    } else if (swipe_->amount <= -swipeThreshold) {
        swipe_->finished = true;
        Q_EMIT navigateRightRequested();
    }
    event->accept();
    return true;
}

} // namespace Marrowbell
