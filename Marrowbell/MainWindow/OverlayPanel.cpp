#include "MainWindow/OverlayPanel.h"

#include "MainWindow/OverlayPlacement.h"

#include <QPainter>
#include <QPainterPath>

namespace Marrowbell {

OverlayPanel::OverlayPanel(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void OverlayPanel::setContent(QWidget* content) {
    delete content_;
    content_ = content;
    if (content_) {
        content_->setParent(this);
        content_->setGeometry(rect().adjusted(OverlayPlacement::inset, OverlayPlacement::inset,
                                              -OverlayPlacement::inset, -OverlayPlacement::inset));
        content_->show();
    }
}

void OverlayPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (content_) {
        content_->setGeometry(rect().adjusted(OverlayPlacement::inset, OverlayPlacement::inset,
                                              -OverlayPlacement::inset, -OverlayPlacement::inset));
    }
}

// The shadow is a few widening, fading outlines in the inset margin; the card is the window colour. It is
// opaque: with no blur behind it, the panes' text would show through whatever the panel holds.
void OverlayPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(OverlayPlacement::inset, OverlayPlacement::inset,
                                                -OverlayPlacement::inset, -OverlayPlacement::inset);
    painter.setBrush(Qt::NoBrush);
    for (int spread = OverlayPlacement::inset; spread > 0; --spread) {
        const int alpha = 6 * (OverlayPlacement::inset - spread + 1) / OverlayPlacement::inset + 2;
        painter.setPen(QPen(QColor(0, 0, 0, alpha), 1.0));
        const double radius = cornerRadius + spread;
        painter.drawRoundedRect(card.adjusted(-spread, -spread + 1, spread, spread + 1), radius, radius);
    }
    painter.setPen(QPen(palette().color(QPalette::Mid), 0.5));
    painter.setBrush(palette().color(QPalette::Window));
    painter.drawRoundedRect(card, cornerRadius, cornerRadius);
}

} // namespace Marrowbell
