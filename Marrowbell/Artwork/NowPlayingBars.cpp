#include "Artwork/NowPlayingBars.h"

#include <QPainter>
#include <cmath>

namespace Marrowbell::NowPlayingBars {
namespace {

constexpr double stagger = 0.2;
constexpr double halfPeriod = 0.4;
constexpr qreal smallestScale = 0.3;

} // namespace

qreal barScale(int index, double seconds) {
    const double sinceStart = seconds - stagger * index;
    if (sinceStart < 0) {
        // A bar that has not started yet stands at full height.
        return 1.0;
    }
    const double phase = std::fmod(sinceStart, 2 * halfPeriod);
    const double rising = phase < halfPeriod ? phase / halfPeriod : 2.0 - phase / halfPeriod;
    return smallestScale + (1.0 - smallestScale) * rising;
}

QRectF barRect(int index, const QRectF& bounds, qreal scale) {
    const qreal offset = std::floor((bounds.width() - indicatorSize) * 0.5);
    const qreal height = indicatorSize * scale;
    const qreal bottom = bounds.top() + bounds.width() - offset;
    return {bounds.left() + offset + (barWidth + barSpacing) * index, bottom - height, barWidth, height};
}

void paint(QPainter& painter, const QRectF& bounds, double seconds) {
    for (int index = 0; index < barCount; ++index) {
        painter.fillRect(barRect(index, bounds, barScale(index, seconds)), Qt::white);
    }
}

} // namespace Marrowbell::NowPlayingBars
