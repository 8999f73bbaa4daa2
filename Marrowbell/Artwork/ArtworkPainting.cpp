#include "Artwork/ArtworkPainting.h"

#include "Artwork/NowPlayingBars.h"

#include <QPainter>
#include <QPainterPath>
#include <QPalette>

namespace Marrowbell {
namespace {

constexpr qreal roundedCornerRadius = 4.0;
const QColor overlayColor(0, 0, 0, 128);

QPainterPath roundedPath(const QRectF& bounds, qreal cornerRadius) {
    QPainterPath path;
    path.addRoundedRect(bounds, cornerRadius, cornerRadius);
    return path;
}

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}

// A glyph box a third of the artwork's side, centred.
QRectF glyphBox(const QRectF& bounds) {
    const qreal side = std::min(bounds.width(), bounds.height()) / 3.0;
    return {bounds.center().x() - side / 2, bounds.center().y() - side / 2, side, side};
}

void paintMusicNote(QPainter& painter, const QRectF& box, const QColor& color) {
    const qreal headWidth = box.width() * 0.45;
    const qreal headHeight = box.height() * 0.32;
    const QRectF head(box.left(), box.bottom() - headHeight, headWidth, headHeight);
    const qreal stemX = head.right() - box.width() * 0.08;
    const qreal stemWidth = std::max<qreal>(1.0, box.width() * 0.1);
    QPainterPath note;
    note.addEllipse(head);
    note.addRect(stemX, box.top(), stemWidth, head.center().y() - box.top());
    note.addRect(stemX, box.top(), box.width() * 0.45, box.height() * 0.16);
    painter.fillPath(note.simplified(), color);
}

void paintPlayGlyph(QPainter& painter, const QRectF& box) {
    QPainterPath triangle;
    triangle.moveTo(box.left() + box.width() * 0.15, box.top());
    triangle.lineTo(box.right(), box.center().y());
    triangle.lineTo(box.left() + box.width() * 0.15, box.bottom());
    triangle.closeSubpath();
    painter.fillPath(triangle, Qt::white);
}

void paintPauseGlyph(QPainter& painter, const QRectF& box) {
    const qreal barWidth = box.width() * 0.32;
    painter.fillRect(QRectF(box.left() + box.width() * 0.08, box.top(), barWidth, box.height()), Qt::white);
    painter.fillRect(QRectF(box.right() - box.width() * 0.08 - barWidth, box.top(), barWidth, box.height()),
                     Qt::white);
}

} // namespace

ArtworkCellParts artworkCellParts(ArtworkState::Kind state, bool hovered, bool nowPlaying) {
    if (state == ArtworkState::Kind::unknown) {
        return {};
    }
    ArtworkCellParts parts;
    parts.image = state == ArtworkState::Kind::loaded;
    parts.placeholder = !parts.image;
    parts.overlay = hovered;
    parts.overlayShowsPause = nowPlaying;
    parts.nowPlayingBars = nowPlaying && !hovered;
    return parts;
}

qreal artworkCornerRadius(ArtworkStyle style, const QRectF& bounds) {
    return style == ArtworkStyle::circular ? bounds.width() / 2 : roundedCornerRadius;
}

QColor artworkBackgroundColor(const QPalette& palette) {
    return isDark(palette) ? QColor(0x3a, 0x3a, 0x3c) : QColor(0xe3, 0xe3, 0xe8);
}

void paintArtworkImage(QPainter& painter, const QRectF& bounds, const QImage& image, qreal cornerRadius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipPath(roundedPath(bounds, cornerRadius));
    painter.drawImage(bounds, image);
    painter.restore();
}

void paintArtworkPlaceholder(QPainter& painter, const QRectF& bounds, qreal cornerRadius,
                             const QPalette& palette) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(roundedPath(bounds, cornerRadius), artworkBackgroundColor(palette));
    paintMusicNote(painter, glyphBox(bounds), palette.color(QPalette::PlaceholderText));
    painter.restore();
}

void paintPlayPauseOverlay(QPainter& painter, const QRectF& bounds, qreal cornerRadius, bool showsPause) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(roundedPath(bounds, cornerRadius), overlayColor);
    if (showsPause) {
        paintPauseGlyph(painter, glyphBox(bounds));
    } else {
        paintPlayGlyph(painter, glyphBox(bounds));
    }
    painter.restore();
}

void paintNowPlayingBackdrop(QPainter& painter, const QRectF& bounds, qreal cornerRadius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(roundedPath(bounds, cornerRadius), overlayColor);
    painter.restore();
}

bool paintArtworkCell(QPainter& painter, const QRectF& bounds, const ArtworkState& state, ArtworkStyle style,
                      bool hovered, bool nowPlaying, double barsSeconds, const QPalette& palette) {
    const ArtworkCellParts parts = artworkCellParts(state.kind, hovered, nowPlaying);
    const qreal radius = artworkCornerRadius(style, bounds);
    if (parts.image) {
        paintArtworkImage(painter, bounds, state.image, radius);
    }
    if (parts.placeholder) {
        paintArtworkPlaceholder(painter, bounds, radius, palette);
    }
    if (parts.overlay) {
        paintPlayPauseOverlay(painter, bounds, radius, parts.overlayShowsPause);
    }
    if (parts.nowPlayingBars) {
        paintNowPlayingBackdrop(painter, bounds, radius);
        NowPlayingBars::paint(painter, bounds, barsSeconds);
    }
    return parts.nowPlayingBars;
}

} // namespace Marrowbell
