#include "Artwork/NowPlayingIndicator.h"

#include "Artwork/ArtworkPainting.h"
#include "Artwork/NowPlayingAnimationClock.h"
#include "Artwork/NowPlayingBars.h"

#include <QPainter>

namespace Marrowbell {

NowPlayingIndicator::NowPlayingIndicator(QWidget* parent)
    : NowPlayingIndicator(NowPlayingAnimationClock::shared(), parent) {}

NowPlayingIndicator::NowPlayingIndicator(NowPlayingAnimationClock& clock, QWidget* parent)
    : QWidget(parent)
    , clock_(clock) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void NowPlayingIndicator::setCornerRadius(qreal radius) {
    if (cornerRadius_ != radius) {
        cornerRadius_ = radius;
        update();
    }
}

void NowPlayingIndicator::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!clockConnection_) {
        shownAt_ = clock_.seconds();
        clockConnection_ =
            connect(&clock_, &NowPlayingAnimationClock::advanced, this, qOverload<>(&QWidget::update));
    }
    clock_.keepRunning();
}

void NowPlayingIndicator::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    disconnect(clockConnection_);
    clockConnection_ = {};
}

void NowPlayingIndicator::paintEvent(QPaintEvent*) {
    clock_.keepRunning();
    QPainter painter(this);
    paintNowPlayingBackdrop(painter, QRectF(rect()), cornerRadius_);
    NowPlayingBars::paint(painter, QRectF(rect()), clock_.seconds() - shownAt_);
}

} // namespace Marrowbell
