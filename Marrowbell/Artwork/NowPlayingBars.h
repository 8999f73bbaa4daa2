#pragma once

#include <QRectF>

class QPainter;

namespace Marrowbell {

/// The geometry and motion of the now-playing bars: three white bars, bottom edges fixed, each scaling
/// between 0.3 and 1.0 of its height and back every 0.8 s, each starting 0.2 s after the one on its left.
/// Pure functions; any thread (painting: the painter's thread).
namespace NowPlayingBars {

inline constexpr int barCount = 3;
inline constexpr qreal barWidth = 3.0;
inline constexpr qreal barSpacing = 2.0;
inline constexpr qreal indicatorSize = barCount * barWidth + (barCount - 1) * barSpacing;

/// The vertical scale of bar `index` `seconds` after the bars were shown.
qreal barScale(int index, double seconds);

/// Bar `index` in `bounds` (square; y grows downwards) at vertical scale `scale`.
QRectF barRect(int index, const QRectF& bounds, qreal scale);

/// Paints the bars in `bounds` as they are `seconds` after they were shown.
void paint(QPainter& painter, const QRectF& bounds, double seconds);

} // namespace NowPlayingBars
} // namespace Marrowbell
