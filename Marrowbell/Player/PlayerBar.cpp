#include "Player/PlayerBar.h"

#include "Player/PlayerView.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace Marrowbell {

PlayerBar::PlayerBar(MainViewModel& model, MusicKit::ApplicationMusicPlayer& player, QWidget* host)
    : QWidget(host)
    , host_(host)
    , view_(new PlayerView(model, player, this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(inset, inset, inset, inset);
    layout->addWidget(view_);
    hide();
    host->installEventFilter(this);
    if (host->isVisible()) {
        attach();
    }
}

QRect PlayerBar::frameIn(QSize hostSize) {
    return OverlayPlacement::playerBar(hostSize);
}

bool PlayerBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == host_) {
        if (event->type() == QEvent::Show && !isAttached_) {
            attach();
        } else if (event->type() == QEvent::Resize && isAttached_) {
            place();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PlayerBar::attach() {
    isAttached_ = true;
    place();
    show();
}

void PlayerBar::place() {
    setGeometry(frameIn(host_->size()));
    raise();
}

// The shadow is a few widening, fading outlines in the margin, one pixel lower than the card; the card is
// the window colour. It is opaque: with no blur behind it, the list's text would show through the bar.
void PlayerBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    painter.setBrush(Qt::NoBrush);
    for (int spread = 4; spread > 0; --spread) {
        painter.setPen(QPen(QColor::fromRgbF(0, 0, 0, 0.16f * float(5 - spread) / 4.0f), 1.0));
        const qreal radius = cornerRadius + spread;
        painter.drawRoundedRect(card.adjusted(-spread, -spread + 1, spread, spread + 1), radius, radius);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Window));
    painter.drawRoundedRect(card, cornerRadius, cornerRadius);
}

} // namespace Marrowbell
