#include "TamselUIKit/HoverUnderlineButton.h"

#include <QEnterEvent>
#include <QPainter>

namespace TamselUIKit {
namespace {

// A subheadline is about 11/13 of the body text.
constexpr double subheadlineScale = 11.0 / 13.0;

} // namespace

HoverUnderlineButton::HoverUnderlineButton(const QString& label, std::function<void()> action,
                                           QWidget* parent)
    : QAbstractButton(parent) {
    setText(label);
    QFont smaller = font();
    smaller.setPointSizeF(smaller.pointSizeF() * subheadlineScale);
    setFont(smaller);
    setCursor(Qt::PointingHandCursor);
    if (action) {
        connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
    }
}

QFont HoverUnderlineButton::labelFont() const {
    QFont labelFont = font();
    labelFont.setUnderline(hovered_);
    return labelFont;
}

QSize HoverUnderlineButton::sizeHint() const {
    return fontMetrics().size(Qt::TextSingleLine, text());
}

void HoverUnderlineButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(labelFont());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}

void HoverUnderlineButton::enterEvent(QEnterEvent* event) {
    setHovered(true);
    QAbstractButton::enterEvent(event);
}

void HoverUnderlineButton::leaveEvent(QEvent* event) {
    setHovered(false);
    QAbstractButton::leaveEvent(event);
}

void HoverUnderlineButton::setHovered(bool hovered) {
    if (hovered_ != hovered) {
        hovered_ = hovered;
        update();
    }
}

} // namespace TamselUIKit
