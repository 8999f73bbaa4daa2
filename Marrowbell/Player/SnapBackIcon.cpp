#include "Player/SnapBackIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace Marrowbell::SnapBackIcon {

QIcon make(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(discColor);
    painter.drawEllipse(QRectF(0, 0, size, size));

    // A hook that leaves to the right, turns over the top and comes back pointing left.
    const double unit = size / 20.0;
    painter.setPen(QPen(arrowColor, 1.8 * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    QPainterPath hook;
    hook.moveTo(7 * unit, 8 * unit);
    hook.lineTo(11.5 * unit, 8 * unit);
    hook.arcTo(QRectF(9 * unit, 8 * unit, 5 * unit, 5 * unit), 90, -180);
    hook.lineTo(7 * unit, 13 * unit);
    painter.drawPath(hook);
    QPainterPath head;
    head.moveTo(9.5 * unit, 5.5 * unit);
    head.lineTo(7 * unit, 8 * unit);
    head.lineTo(9.5 * unit, 10.5 * unit);
    painter.drawPath(head);
    painter.end();
    return QIcon(pixmap);
}

} // namespace Marrowbell::SnapBackIcon
