#include "Artwork/ArtworkLayerView.h"

#include "Artwork/ArtworkImageCache.h"
#include "Artwork/NowPlayingIndicator.h"
#include "Platform/AppLoggers.h"

#include <QMouseEvent>
#include <QPainter>

namespace Marrowbell {

ArtworkLayerView::ArtworkLayerView(QWidget* parent)
    : ArtworkLayerView(ArtworkImageCache::shared(), parent) {}

ArtworkLayerView::ArtworkLayerView(ArtworkImageCache& cache, QWidget* parent)
    : QWidget(parent)
    , cache_(cache)
    , nowPlaying_(new NowPlayingIndicator(this)) {
    setAttribute(Qt::WA_Hover);
}

void ArtworkLayerView::setArtwork(const QUrl& url, const QString& uniqueID) {
    if (hasArtwork_ && uniqueID_ == uniqueID && url_ == url) {
        return;
    }
    hasArtwork_ = true;
    url_ = url;
    uniqueID_ = uniqueID;
    const quint64 generation = ++loadGeneration_;
    if (std::optional<QImage> cached = cache_.cachedImage(uniqueID, url)) {
        applyState(ArtworkState::loaded(*cached));
        return;
    }
    applyState(url.isEmpty() ? ArtworkState::failed() : ArtworkState::unknown());
    cache_.loadImage(url, uniqueID, this, [this, generation](const ArtworkLoadResult& result) {
        if (generation != loadGeneration_) {
            return;
        }
        if (result.succeeded()) {
            applyState(ArtworkState::loaded(result.image));
        } else {
            AppLoggers::images().error("Failed to load artwork: %@", {result.detail.toStdString()});
            applyState(ArtworkState::failed());
        }
    });
}

void ArtworkLayerView::setShowNowPlayingIndicator(bool show) {
    if (showNowPlayingIndicator_ != show) {
        showNowPlayingIndicator_ = show;
        refresh();
    }
}

void ArtworkLayerView::setStyle(ArtworkStyle style) {
    if (style_ != style) {
        style_ = style;
        refresh();
    }
}

void ArtworkLayerView::setShowPlayButtonOnHover(bool show) {
    showPlayButtonOnHover_ = show;
}

ArtworkCellParts ArtworkLayerView::parts() const {
    return artworkCellParts(state_.kind, isInside_, showNowPlayingIndicator_);
}

void ArtworkLayerView::applyState(ArtworkState state) {
    state_ = std::move(state);
    refresh();
}

void ArtworkLayerView::setHovered(bool hovered) {
    if (showPlayButtonOnHover_ && isInside_ != hovered) {
        isInside_ = hovered;
        refresh();
    }
}

void ArtworkLayerView::refresh() {
    nowPlaying_->setCornerRadius(artworkCornerRadius(style_, QRectF(rect())));
    nowPlaying_->setVisible(parts().nowPlayingBars);
    update();
}

void ArtworkLayerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ArtworkCellParts shown = parts();
    const QRectF bounds(rect());
    const qreal radius = artworkCornerRadius(style_, bounds);
    if (shown.image) {
        paintArtworkImage(painter, bounds, state_.image, radius);
    }
    if (shown.placeholder) {
        paintArtworkPlaceholder(painter, bounds, radius, palette());
    }
    if (shown.overlay) {
        paintPlayPauseOverlay(painter, bounds, radius, shown.overlayShowsPause);
    }
}

void ArtworkLayerView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    nowPlaying_->setGeometry(rect());
    refresh();
}

// Qt sends an enter event to a widget that appears under a resting mouse, so a row scrolled in under the
// pointer shows its button without a check of its own.
void ArtworkLayerView::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    setHovered(true);
}

void ArtworkLayerView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    setHovered(false);
}

void ArtworkLayerView::mousePressEvent(QMouseEvent* event) {
    if (!parts().overlay) {
        event->ignore();
        return;
    }
    event->accept();
    if (playPauseHandler_) {
        playPauseHandler_(showNowPlayingIndicator_ ? PlayPauseRequest::pause : PlayPauseRequest::play);
    }
}

} // namespace Marrowbell
