#pragma once

#include "Artwork/ArtworkState.h"

#include <QColor>
#include <QRectF>

class QPainter;
class QPalette;

namespace Marrowbell {

/// The corner style of row artwork: a circle (artists) or a rectangle with 4-pixel corners.
enum class ArtworkStyle { circular, roundedRect };

/// What a row's artwork shows for its load state, hovering and playing: the image or the placeholder, the
/// play/pause overlay while hovered, the now-playing bars while playing and not hovered.
struct ArtworkCellParts {
    bool image = false;
    bool placeholder = false;
    bool overlay = false;
    bool overlayShowsPause = false;
    bool nowPlayingBars = false;
};

ArtworkCellParts artworkCellParts(ArtworkState::Kind state, bool hovered, bool nowPlaying);

qreal artworkCornerRadius(ArtworkStyle style, const QRectF& bounds);

/// The placeholder's background, a quiet tone that follows the palette's light or dark appearance.
QColor artworkBackgroundColor(const QPalette& palette);

// Painting of the single parts, clipped to `cornerRadius`. GUI thread (the painter's).
void paintArtworkImage(QPainter& painter, const QRectF& bounds, const QImage& image, qreal cornerRadius);
void paintArtworkPlaceholder(QPainter& painter, const QRectF& bounds, qreal cornerRadius,
                             const QPalette& palette);
void paintPlayPauseOverlay(QPainter& painter, const QRectF& bounds, qreal cornerRadius, bool showsPause);
void paintNowPlayingBackdrop(QPainter& painter, const QRectF& bounds, qreal cornerRadius);

/// Paints a whole row artwork, the one way every list draws it: item delegates paint rows without widgets.
/// `barsSeconds` is the time since the row's bars were shown; returns true when it painted bars, and the
/// caller then asks the shared animation clock to keep running.
bool paintArtworkCell(QPainter& painter, const QRectF& bounds, const ArtworkState& state, ArtworkStyle style,
                      bool hovered, bool nowPlaying, double barsSeconds, const QPalette& palette);

} // namespace Marrowbell
