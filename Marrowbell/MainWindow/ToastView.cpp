#include "MainWindow/ToastView.h"

#include <Foundation/Progress.h>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace Marrowbell {
namespace {

constexpr int symbolSize = 20;
constexpr int spacing = 8;
constexpr int verticalPadding = 8;
constexpr int horizontalPadding = 12;
constexpr double cornerRadius = 8.0;
constexpr int frameIntervalMs = 33;
constexpr double degreesPerFrame = 12.0;
// The card grows from almost nothing (never quite zero, so it always has a size to scale from).
constexpr double minimumScale = 0.00001;
// A critically damped spring answering within 0.3 s; it has settled to within a thousandth after 0.45 s.
constexpr double springResponseSeconds = 0.3;
constexpr int transitionDurationMs = 450;
const QColor cardColor(38, 38, 40, 235);
const QColor foreground(255, 255, 255, 235);

void paintCheckmarkCircle(QPainter& painter, const QRectF& bounds) {
    painter.drawEllipse(bounds.adjusted(1, 1, -1, -1));
    QPainterPath check;
    check.moveTo(bounds.left() + bounds.width() * 0.28, bounds.top() + bounds.height() * 0.52);
    check.lineTo(bounds.left() + bounds.width() * 0.44, bounds.top() + bounds.height() * 0.68);
    check.lineTo(bounds.left() + bounds.width() * 0.72, bounds.top() + bounds.height() * 0.34);
    painter.drawPath(check);
}

// Two arcs chasing each other, each ending in an arrowhead.
void paintRotatingArrows(QPainter& painter, const QRectF& bounds) {
    const QRectF ring = bounds.adjusted(2, 2, -2, -2);
    for (int half = 0; half < 2; ++half) {
        const int start = half * 180 + 20;
        painter.drawArc(ring, start * 16, 130 * 16);
        painter.save();
        painter.translate(ring.center());
        painter.rotate(-(start + 130));
        const double radius = ring.width() / 2;
        painter.drawLine(QPointF(radius, 0), QPointF(radius - 3, 3));
        painter.drawLine(QPointF(radius, 0), QPointF(radius + 3, 3));
        painter.restore();
    }
}

double springStep(double seconds) {
    const double angularFrequency = 2.0 * std::numbers::pi / springResponseSeconds;
    const double phase = angularFrequency * seconds;
    return 1.0 - (1.0 + phase) * std::exp(-phase);
}

// Scaled so that the transition ends exactly where it is going.
qreal springCurve(qreal progress) {
    const double duration = transitionDurationMs / 1000.0;
    return springStep(progress * duration) / springStep(duration);
}

} // namespace

ToastView::ToastView(QString symbolName, QString label, bool rotatesSymbol, Entrance entrance,
                     QWidget* parent)
    : QWidget(parent)
    , symbolName_(std::move(symbolName))
    , label_(std::move(label))
    , rotatesSymbol_(rotatesSymbol)
    , entrance_(entrance) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    frames_.setInterval(frameIntervalMs);
    connect(&frames_, &QTimer::timeout, this, [this] {
        angle_ = std::fmod(angle_ + degreesPerFrame, 360.0);
        update();
    });
    QEasingCurve spring;
    spring.setCustomType(springCurve);
    transition_.setEasingCurve(spring);
    transition_.setDuration(transitionDurationMs);
    connect(&transition_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        presentation_ = value.toDouble();
        update();
    });
}

void ToastView::setPresented(bool presented) {
    if (presented == presented_) {
        return;
    }
    presented_ = presented;
    transition_.stop();
    if (!presented) {
        presentation_ = 0.0;
        hide();
        return;
    }
    show();
    if (entrance_ == Entrance::immediate) {
        presentation_ = 1.0;
        update();
        return;
    }
    transition_.setStartValue(0.0);
    transition_.setEndValue(1.0);
    transition_.start();
}

double ToastView::scale() const {
    return std::max(minimumScale, presentation_);
}

void ToastView::setProgress(std::shared_ptr<Foundation::Progress> progress) {
    progress_ = std::move(progress);
    update();
}

bool ToastView::isSymbolTurning() const {
    return rotatesSymbol_ && !progress_ && frames_.isActive();
}

QFont ToastView::labelFont() const {
    QFont font = this->font();
    font.setWeight(QFont::Medium);
    return font;
}

QSize ToastView::sizeHint() const {
    const QFontMetrics metrics(labelFont());
    const int width = std::max(symbolSize, metrics.horizontalAdvance(label_)) + 2 * horizontalPadding;
    const int height = symbolSize + spacing + metrics.height() + 2 * verticalPadding;
    return {width, height};
}

void ToastView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Also while a progress shows: the circle follows a progress that advances on another thread.
    if (rotatesSymbol_ || progress_) {
        frames_.start();
    }
}

void ToastView::hideEvent(QHideEvent* event) {
    frames_.stop();
    QWidget::hideEvent(event);
}

void ToastView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(opacity());
    const QPointF centre = QRectF(rect()).center();
    painter.translate(centre);
    painter.scale(scale(), scale());
    painter.translate(-centre);
    painter.setPen(Qt::NoPen);
    painter.setBrush(cardColor);
    painter.drawRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);

    const QRectF symbolBounds((width() - symbolSize) / 2.0, verticalPadding, symbolSize, symbolSize);
    if (progress_) {
        paintProgress(painter, symbolBounds);
    } else {
        paintSymbol(painter, symbolBounds);
    }
    painter.setPen(foreground);
    painter.setFont(labelFont());
    const QRectF labelBounds(0, symbolBounds.bottom() + spacing, width(),
                             height() - symbolBounds.bottom() - spacing - verticalPadding);
    painter.drawText(labelBounds, Qt::AlignHCenter | Qt::AlignTop, label_);
}

void ToastView::paintSymbol(QPainter& painter, const QRectF& bounds) const {
    painter.save();
    painter.setPen(QPen(foreground, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    if (rotatesSymbol_) {
        painter.translate(bounds.center());
        painter.rotate(angle_);
        painter.translate(-bounds.center());
    }
    if (symbolName_ == u"checkmark.circle") {
        paintCheckmarkCircle(painter, bounds);
    } else {
        paintRotatingArrows(painter, bounds);
    }
    painter.restore();
}

void ToastView::paintProgress(QPainter& painter, const QRectF& bounds) const {
    const QRectF ring = bounds.adjusted(2, 2, -2, -2);
    const double fraction = std::clamp(progress_->fractionCompleted(), 0.0, 1.0);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 60), 3));
    painter.drawEllipse(ring);
    painter.setPen(QPen(foreground, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(ring, 90 * 16, -static_cast<int>(fraction * 360 * 16));
    painter.restore();
}

} // namespace Marrowbell
