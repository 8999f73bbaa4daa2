#include "Player/PlaybackTimeView.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>

namespace Marrowbell {
namespace {

/// A press that moves further than this before its release is a drag, which does not seek.
constexpr double clickSlop = 3.0;

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightnessF() < 0.5;
}

QColor grey(double white) {
    return QColor::fromRgbF(float(white), float(white), float(white));
}

} // namespace

PlaybackTimeView::PlaybackTimeView(QWidget* parent)
    : QWidget(parent) {
    setFixedHeight(viewHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
}

void PlaybackTimeView::setTimes(double time, double maxTime) {
    if (time == time_ && maxTime == maxTime_) {
        return;
    }
    time_ = time;
    maxTime_ = maxTime;
    update();
}

double PlaybackTimeView::fillWidth(double width, double time, double maxTime) {
    if (!(maxTime > 0.0) || !(width > 0.0) || !std::isfinite(time)) {
        return 0.0;
    }
    return std::clamp(width * time / maxTime, 0.0, width);
}

std::optional<double> PlaybackTimeView::seekTime(double x, double width, double maxTime) {
    if (!(maxTime > 0.0) || !(width > 0.0) || !std::isfinite(x)) {
        return std::nullopt;
    }
    return std::clamp(x / width * maxTime, 0.0, maxTime);
}

void PlaybackTimeView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool dark = isDark(palette());
    const QRectF track(0, viewHeight - lineHeight, width(), lineHeight);
    painter.fillRect(track, grey(dark ? 0.3 : 0.8));
    QRectF fill = track;
    fill.setWidth(fillWidth(width(), time_, maxTime_));
    painter.fillRect(fill, grey(dark ? 0.5 : 0.6));
}

void PlaybackTimeView::mousePressEvent(QMouseEvent* event) {
    pressedAt_ = event->button() == Qt::LeftButton ? std::optional(event->position()) : std::nullopt;
    event->accept();
}

void PlaybackTimeView::mouseReleaseEvent(QMouseEvent* event) {
    const std::optional<QPointF> pressedAt = std::exchange(pressedAt_, std::nullopt);
    event->accept();
    if (!pressedAt || event->button() != Qt::LeftButton ||
        (event->position() - *pressedAt).manhattanLength() > clickSlop) {
        return;
    }
    if (const auto seconds = seekTime(event->position().x(), width(), maxTime_)) {
        Q_EMIT seekRequested(*seconds);
    }
}

} // namespace Marrowbell
