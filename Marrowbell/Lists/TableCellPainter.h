#pragma once

#include "Artwork/ArtworkState.h"
#include "Lists/TableCellLayout.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QStyledItemDelegate>

class QAbstractItemView;

namespace Marrowbell {

class ArtworkImageCache;
class NowPlayingAnimationClock;
class TableCellSource;

/// Paints the rows of a list from their TableCell content, each row as tall as the list says its content
/// needs; no widget per row. Artwork comes from the artwork cache's memory tier at once, or is requested and
/// painted when it arrives; a failed load leaves the placeholder. The now-playing bars of the rows that paint
/// them keep the shared animation clock running, and each tick repaints only those bars. GUI thread only.
class TableCellPainter : public QStyledItemDelegate {
    Q_OBJECT

public:
    /// Left and right margin of a row's content inside the row.
    static constexpr int rowInset = 8;

    TableCellPainter(const TableCellSource& source, ArtworkImageCache& artwork,
                     NowPlayingAnimationClock& clock, QAbstractItemView& view);

    /// The row whose artwork the mouse is over (-1 for none): its artwork shows the play or pause overlay.
    void setHoveredRow(int row) { hoveredRow_ = row; }
    int hoveredRow() const { return hoveredRow_; }

    /// The row's content as painted (regular configuration).
    TableCell cellForRow(int row) const;
    /// The parts of `cell` in a row occupying `rowRect` of the viewport, in viewport coordinates.
    TableCellLayout layoutInRow(const TableCell& cell, const QRect& rowRect, bool emphasized) const;
    /// Whether `position` lies on the artwork of `row` (shown in `rowRect`).
    bool isOverArtwork(int row, const QRect& rowRect, const QPoint& position) const;
    /// Whether the artwork of `row` shows the play/pause overlay while hovered (it has an image or the
    /// placeholder).
    bool showsOverlayWhenHovered(int row) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    ArtworkState artworkState(const TableCell& cell) const;
    void paintArtwork(QPainter& painter, const TableCell& cell, const QRectF& bounds, int row,
                      const QPalette& palette) const;
    void paintText(QPainter& painter, const TableCell& cell, const TableCellLayout& layout, bool selected,
                   const QPalette& palette) const;
    void imageArrived(const QString& key);
    void repaintBars();

    const TableCellSource& source_;
    ArtworkImageCache& artwork_;
    NowPlayingAnimationClock& clock_;
    QAbstractItemView& view_;
    int hoveredRow_ = -1;
    mutable QSet<QString> requestedKeys_;
    mutable QSet<QString> failedKeys_;
    /// When each playing row's bars were first painted, by item identifier.
    mutable QHash<QString, double> barsShownAt_;
    /// The bars painted since the last clock tick, in viewport coordinates.
    mutable QList<QRect> paintedBars_;
};

} // namespace Marrowbell
