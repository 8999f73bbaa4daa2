#pragma once

#include <QRectF>
#include <QString>

class QPainter;
class QPalette;
class QColor;

namespace Marrowbell {

/// Paints the list symbol `symbolName` ("square.grid.3x3", "square.stack", "music.microphone", "music.note",
/// "person.crop.square", "radio", "play.fill", "shuffle"; any other name draws nothing) in red, 16 pixels,
/// centred in `bounds`; with `showBackground`, over the artwork placeholder colour with 4-pixel corners. GUI
/// thread.
void paintGlyph(QPainter& painter, const QRectF& bounds, const QString& symbolName, bool showBackground,
                const QPalette& palette);

/// Paints the selected row's chevron (a right-pointing angle 11 pixels high) centred in `bounds`.
void paintChevron(QPainter& painter, const QRectF& bounds, const QColor& color);

} // namespace Marrowbell
