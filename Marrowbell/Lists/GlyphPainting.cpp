#include "Lists/GlyphPainting.h"

#include "Artwork/ArtworkPainting.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace Marrowbell {
namespace {

constexpr qreal glyphSide = 16.0;
constexpr qreal backgroundCornerRadius = 4.0;
constexpr qreal chevronHeight = 11.0;
const QColor glyphRed(255, 59, 48);

// Each symbol is drawn in a 16 by 16 box whose origin is its top-left corner.
QPainterPath gridPath() {
    QPainterPath path;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            path.addRoundedRect(column * 5.5, row * 5.5, 4.5, 4.5, 1, 1);
        }
    }
    return path;
}

QPainterPath stackPath() {
    QPainterPath path;
    path.addRoundedRect(0, 5, 16, 11, 2, 2);
    path.addRect(2, 2.5, 12, 1.5);
    path.addRect(4, 0, 8, 1.5);
    return path;
}

QPainterPath microphonePath() {
    QPainterPath path;
    path.addRoundedRect(5, 0, 6, 10, 3, 3);
    QPainterPath cradle;
    cradle.moveTo(2.5, 7);
    cradle.cubicTo(2.5, 14, 13.5, 14, 13.5, 7);
    QPainterPathStroker stroker;
    stroker.setWidth(1.5);
    path.addPath(stroker.createStroke(cradle));
    path.addRect(7.25, 12, 1.5, 4);
    return path;
}

QPainterPath notePath() {
    QPainterPath path;
    path.addEllipse(1, 10.5, 7, 5.5);
    path.addRect(6.5, 1, 1.5, 12);
    QPainterPath flag;
    flag.moveTo(6.5, 0);
    flag.lineTo(14, 2.5);
    flag.lineTo(14, 6);
    flag.lineTo(6.5, 3.5);
    flag.closeSubpath();
    path.addPath(flag);
    return path;
}

QPainterPath personPath() {
    QPainterPath frame;
    frame.addRoundedRect(0, 0, 16, 16, 3, 3);
    QPainterPath inner;
    inner.addRoundedRect(1.5, 1.5, 13, 13, 2, 2);
    QPainterPath path = frame.subtracted(inner);
    path.addEllipse(5, 3, 6, 6);
    QPainterPath shoulders;
    shoulders.moveTo(3, 14.5);
    shoulders.cubicTo(3, 9, 13, 9, 13, 14.5);
    shoulders.closeSubpath();
    path.addPath(shoulders);
    return path;
}

QPainterPath radioPath() {
    QPainterPath body;
    body.addRoundedRect(0, 5, 16, 11, 2, 2);
    QPainterPath speaker;
    speaker.addEllipse(8.5, 7.5, 6, 6);
    QPainterPath path = body.subtracted(speaker);
    path.addRect(2, 8, 4, 1.5);
    path.addRect(2, 11, 4, 1.5);
    QPainterPath antenna;
    antenna.moveTo(3, 5);
    antenna.lineTo(12, 0.5);
    QPainterPathStroker stroker;
    stroker.setWidth(1.5);
    path.addPath(stroker.createStroke(antenna));
    return path;
}

QPainterPath playPath() {
    QPainterPath path;
    path.moveTo(3, 1);
    path.lineTo(14, 8);
    path.lineTo(3, 15);
    path.closeSubpath();
    return path;
}

// Two crossing arrows, each ending in a head on the right.
QPainterPath shufflePath() {
    QPainterPath lines;
    lines.moveTo(0, 4);
    lines.cubicTo(7, 4, 6, 12, 12, 12);
    lines.moveTo(0, 12);
    lines.cubicTo(7, 12, 6, 4, 12, 4);
    QPainterPathStroker stroker;
    stroker.setWidth(1.5);
    QPainterPath path = stroker.createStroke(lines);
    for (const qreal y : {4.0, 12.0}) {
        QPainterPath head;
        head.moveTo(11, y - 3);
        head.lineTo(16, y);
        head.lineTo(11, y + 3);
        head.closeSubpath();
        path.addPath(head);
    }
    return path;
}

// Built once: the path operations some symbols need cost too much to repeat for every painted row.
const QPainterPath& symbolPath(const QString& symbolName) {
    static const QHash<QString, QPainterPath> paths{
        {QStringLiteral("square.grid.3x3"), gridPath()},
        {QStringLiteral("square.stack"), stackPath()},
        {QStringLiteral("music.microphone"), microphonePath()},
        {QStringLiteral("music.note"), notePath()},
        {QStringLiteral("person.crop.square"), personPath()},
        {QStringLiteral("radio"), radioPath()},
        {QStringLiteral("play.fill"), playPath()},
        {QStringLiteral("shuffle"), shufflePath()},
    };
    static const QPainterPath none;
    const auto path = paths.constFind(symbolName);
    return path == paths.cend() ? none : *path;
}

} // namespace

void paintGlyph(QPainter& painter, const QRectF& bounds, const QString& symbolName, bool showBackground,
                const QPalette& palette) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (showBackground) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(artworkBackgroundColor(palette));
        painter.drawRoundedRect(bounds, backgroundCornerRadius, backgroundCornerRadius);
    }
    painter.translate(bounds.center() - QPointF(glyphSide / 2, glyphSide / 2));
    painter.fillPath(symbolPath(symbolName), glyphRed);
    painter.restore();
}

void paintChevron(QPainter& painter, const QRectF& bounds, const QColor& color) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF center = bounds.center();
    const qreal half = chevronHeight / 2;
    painter.drawPolyline(QPolygonF{{center.x() - half / 2, center.y() - half},
                                   {center.x() + half / 2, center.y()},
                                   {center.x() - half / 2, center.y() + half}});
    painter.restore();
}

} // namespace Marrowbell
