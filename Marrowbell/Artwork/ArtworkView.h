#pragma once

#include "Artwork/ArtworkState.h"

#include <QUrl>
#include <QWidget>

namespace Marrowbell {

class ArtworkImageCache;

/// One piece of artwork at a fixed size outside the lists (player bar, up-next rows, search results): the
/// image, or a placeholder while nothing is loaded or after a failure, clipped to `cornerRadius`, with an
/// optional thin border on the left corners that follows the palette's light or dark appearance.
/// A new artwork keeps the previous picture until its own load ends; a load that another artwork has
/// replaced in the meantime is dropped. GUI thread only.
class ArtworkView : public QWidget {
    Q_OBJECT

public:
    ArtworkView(QSize size, qreal cornerRadius, bool showBorder, QWidget* parent = nullptr);
    ArtworkView(ArtworkImageCache& cache, QSize size, qreal cornerRadius, bool showBorder, QWidget* parent);

    /// Shows the artwork of `uniqueID` (the cache key) from `url` (may be empty): a picture in the memory
    /// tier at once, otherwise once the cache has loaded it. The same key and URL again change nothing.
    void setArtwork(const QUrl& url, const QString& uniqueID);

    const ArtworkState& state() const { return state_; }
    /// The key and the URL that the shown artwork belongs to: uniqueID + "-" + the URL's text.
    QString loadIdentity() const;

    QSize sizeHint() const override { return size_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintBorder(QPainter& painter) const;

    ArtworkImageCache& cache_;
    ArtworkState state_;
    QUrl url_;
    QString uniqueID_;
    bool hasArtwork_ = false;
    QSize size_;
    qreal cornerRadius_;
    bool showBorder_;
};

} // namespace Marrowbell
