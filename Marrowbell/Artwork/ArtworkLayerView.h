#pragma once

#include "Artwork/ArtworkPainting.h"
#include "Artwork/ArtworkState.h"

#include <QUrl>
#include <QWidget>
#include <functional>

namespace Marrowbell {

class ArtworkImageCache;
class NowPlayingIndicator;

/// A list row's artwork: the cached image at once or loaded through the artwork cache, a placeholder when
/// there is none, a translucent play or pause button while the mouse is over it, and the now-playing bars
/// while the row's item plays. A click on the button asks `playPauseHandler` to play or to pause; with the
/// button hidden, the click goes on to the parent (the row). GUI thread only.
class ArtworkLayerView : public QWidget {
    Q_OBJECT

public:
    enum class PlayPauseRequest { play, pause };
    using PlayPauseHandler = std::function<void(PlayPauseRequest)>;

    explicit ArtworkLayerView(QWidget* parent = nullptr);
    ArtworkLayerView(ArtworkImageCache& cache, QWidget* parent);

    /// Shows the artwork of `uniqueID` (the cache key) from `url`. The same key and URL again change
    /// nothing; another one drops the running load, whose result is then never shown.
    void setArtwork(const QUrl& url, const QString& uniqueID);
    const ArtworkState& state() const { return state_; }
    const QString& artworkUniqueID() const { return uniqueID_; }

    void setShowNowPlayingIndicator(bool show);
    bool showNowPlayingIndicator() const { return showNowPlayingIndicator_; }

    void setStyle(ArtworkStyle style);
    ArtworkStyle style() const { return style_; }

    /// Whether hovering shows the play/pause button (true at first).
    void setShowPlayButtonOnHover(bool show);
    bool isShowingOverlay() const { return parts().overlay; }

    void setPlayPauseHandler(PlayPauseHandler handler) { playPauseHandler_ = std::move(handler); }

    NowPlayingIndicator& nowPlayingIndicator() { return *nowPlaying_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    ArtworkCellParts parts() const;
    void setHovered(bool hovered);
    void applyState(ArtworkState state);
    void refresh();

    ArtworkImageCache& cache_;
    NowPlayingIndicator* nowPlaying_;
    ArtworkState state_;
    QUrl url_;
    QString uniqueID_;
    bool hasArtwork_ = false;
    quint64 loadGeneration_ = 0;
    bool isInside_ = false;
    bool showNowPlayingIndicator_ = false;
    bool showPlayButtonOnHover_ = true;
    ArtworkStyle style_ = ArtworkStyle::roundedRect;
    PlayPauseHandler playPauseHandler_;
};

} // namespace Marrowbell
