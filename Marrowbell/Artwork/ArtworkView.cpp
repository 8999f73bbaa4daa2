#include "Artwork/ArtworkView.h"

#include "Artwork/ArtworkImageCache.h"
#include "Artwork/ArtworkPainting.h"
#include "Platform/AppLoggers.h"

#include <QPainter>
#include <QPainterPath>

namespace Marrowbell {
namespace {

using namespace Qt::StringLiterals;

constexpr qreal borderCornerRadius = 3.0;
constexpr qreal borderOpacity = 0.12;

// Rounded on the left corners only.
QPainterPath leftRoundedPath(const QRectF& box, qreal radius) {
    QPainterPath path;
    path.moveTo(box.right(), box.top());
    path.lineTo(box.left() + radius, box.top());
    path.arcTo(QRectF(box.left(), box.top(), 2 * radius, 2 * radius), 90, 90);
    path.lineTo(box.left(), box.bottom() - radius);
    path.arcTo(QRectF(box.left(), box.bottom() - 2 * radius, 2 * radius, 2 * radius), 180, 90);
    path.lineTo(box.right(), box.bottom());
    path.closeSubpath();
    return path;
}

} // namespace

ArtworkView::ArtworkView(QSize size, qreal cornerRadius, bool showBorder, QWidget* parent)
    : ArtworkView(ArtworkImageCache::shared(), size, cornerRadius, showBorder, parent) {}

ArtworkView::ArtworkView(ArtworkImageCache& cache, QSize size, qreal cornerRadius, bool showBorder,
                         QWidget* parent)
    : QWidget(parent)
    , cache_(cache)
    , size_(size)
    , cornerRadius_(cornerRadius)
    , showBorder_(showBorder) {
    setFixedSize(size);
}

QString ArtworkView::loadIdentity() const {
    return uniqueID_ + u'-' + url_.toString(QUrl::FullyEncoded);
}

void ArtworkView::setArtwork(const QUrl& url, const QString& uniqueID) {
    if (hasArtwork_ && uniqueID_ == uniqueID && url_ == url) {
        return;
    }
    hasArtwork_ = true;
    url_ = url;
    uniqueID_ = uniqueID;
    if (std::optional<QImage> cached = cache_.cachedImage(uniqueID, url)) {
        state_ = ArtworkState::loaded(*cached);
        update();
        return;
    }
    cache_.loadImage(url, uniqueID, this, [this, identity = loadIdentity()](const ArtworkLoadResult& result) {
        if (identity != loadIdentity()) {
            return;
        }
        if (result.succeeded()) {
            state_ = ArtworkState::loaded(result.image);
        } else {
            AppLoggers::images().error("Failed to load artwork: %@", {result.detail.toStdString()});
            state_ = ArtworkState::failed();
        }
        update();
    });
}

void ArtworkView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF frame(QPointF(0, 0), QSizeF(size_));
    if (state_.isLoaded()) {
        paintArtworkImage(painter, frame, state_.image, cornerRadius_);
    } else {
        paintArtworkPlaceholder(painter, frame, cornerRadius_, palette());
    }
    if (showBorder_) {
        paintBorder(painter);
    }
}

void ArtworkView::paintBorder(QPainter& painter) const {
    const bool dark = palette().color(QPalette::Window).lightness() < 128;
    QColor color = dark ? QColor(Qt::white) : QColor(Qt::black);
    color.setAlphaF(borderOpacity);
    QPen pen(color, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QRectF inset = QRectF(QPointF(0, 0), QSizeF(size_)).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.drawPath(leftRoundedPath(inset, borderCornerRadius));
    painter.restore();
}

} // namespace Marrowbell
