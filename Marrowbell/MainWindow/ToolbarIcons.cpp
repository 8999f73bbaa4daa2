#include "MainWindow/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <functional>

namespace Marrowbell::ToolbarIcons {
namespace {

constexpr int iconSize = 16;
constexpr double strokeWidth = 1.6;

QPixmap drawn(const QColor& color, const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(iconSize * 2, iconSize * 2);
    pixmap.setDevicePixelRatio(2.0);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    draw(painter);
    return pixmap;
}

QIcon icon(const QPalette& palette, const std::function<void(QPainter&)>& draw) {
    QIcon result;
    result.addPixmap(drawn(palette.color(QPalette::Active, QPalette::WindowText), draw), QIcon::Normal);
    result.addPixmap(drawn(palette.color(QPalette::Disabled, QPalette::WindowText), draw), QIcon::Disabled);
    return result;
}

} // namespace

QIcon back(const QPalette& palette) {
    return icon(palette, [](QPainter& painter) {
        QPainterPath chevron;
        chevron.moveTo(10, 3);
        chevron.lineTo(5, 8);
        chevron.lineTo(10, 13);
        painter.drawPath(chevron);
    });
}

QIcon sortAndFilter(const QPalette& palette) {
    return icon(palette, [](QPainter& painter) {
        painter.drawLine(QPointF(2, 4), QPointF(14, 4));
        painter.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
        painter.drawLine(QPointF(6.5, 12), QPointF(9.5, 12));
    });
}

QIcon search(const QPalette& palette) {
    return icon(palette, [](QPainter& painter) {
        painter.drawEllipse(QRectF(2.5, 2.5, 8, 8));
        painter.drawLine(QPointF(9.5, 9.5), QPointF(13.5, 13.5));
    });
}

} // namespace Marrowbell::ToolbarIcons
