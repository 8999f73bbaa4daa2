#include "Windows/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace Marrowbell {
namespace {

QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xE0, 0x3A, 0x45));
    painter.drawRoundedRect(QRectF(0, 0, size, size), size * 0.22, size * 0.22);

    // A quaver: two heads joined by a beam.
    painter.setBrush(Qt::white);
    const double unit = size / 16.0;
    painter.drawEllipse(QPointF(5.5 * unit, 11.5 * unit), 2.0 * unit, 1.6 * unit);
    painter.drawEllipse(QPointF(11.0 * unit, 10.5 * unit), 2.0 * unit, 1.6 * unit);
    painter.drawRect(QRectF(6.9 * unit, 3.5 * unit, 1.0 * unit, 8.0 * unit));
    painter.drawRect(QRectF(12.4 * unit, 2.5 * unit, 1.0 * unit, 8.0 * unit));
    QPainterPath beam;
    beam.moveTo(6.9 * unit, 3.5 * unit);
    beam.lineTo(13.4 * unit, 2.5 * unit);
    beam.lineTo(13.4 * unit, 4.5 * unit);
    beam.lineTo(6.9 * unit, 5.5 * unit);
    beam.closeSubpath();
    painter.drawPath(beam);
    return pixmap;
}

} // namespace

QIcon appIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(drawIcon(size));
    }
    return icon;
}

} // namespace Marrowbell
