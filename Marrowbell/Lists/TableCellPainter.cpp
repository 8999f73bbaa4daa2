#include "Lists/TableCellPainter.h"

#include "Artwork/ArtworkImageCache.h"
#include "Artwork/NowPlayingAnimationClock.h"
#include "Lists/GlyphPainting.h"
#include "Lists/TableCellSource.h"
#include "Platform/AppLoggers.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>

namespace Marrowbell {
namespace {

QString loadKey(const QString& uniqueID, const QUrl& url) {
    return uniqueID + QLatin1Char('\n') + url.toString();
}

// A row's content leaves a margin at either side.
QRectF contentIn(const QRect& rowRect) {
    return QRectF(rowRect).adjusted(TableCellPainter::rowInset, 0, -TableCellPainter::rowInset, 0);
}

QColor withAlpha(QColor color, qreal alpha) {
    color.setAlphaF(static_cast<float>(alpha));
    return color;
}

} // namespace

TableCellPainter::TableCellPainter(const TableCellSource& source, ArtworkImageCache& artwork,
                                   NowPlayingAnimationClock& clock, QAbstractItemView& view)
    : QStyledItemDelegate(&view)
    , source_(source)
    , artwork_(artwork)
    , clock_(clock)
    , view_(view) {
    connect(&artwork_, &ArtworkImageCache::imageReady, this,
            [this](const QString& key, const QUrl& url) { imageArrived(loadKey(key, url)); });
    connect(&artwork_, &ArtworkImageCache::imageFailed, this, [this](const QString& key, const QUrl& url) {
        const QString load = loadKey(key, url);
        if (requestedKeys_.contains(load)) {
            AppLoggers::images().error("Failed to load artwork: %@", {key.toStdString()});
            failedKeys_.insert(load);
            imageArrived(load);
        }
    });
    connect(&clock_, &NowPlayingAnimationClock::advanced, this, &TableCellPainter::repaintBars);
}

TableCell TableCellPainter::cellForRow(int row) const {
    TableCell cell;
    source_.configureCell(cell, row, CellConfiguration::regular);
    return cell;
}

TableCellLayout TableCellPainter::layoutInRow(const TableCell& cell, const QRect& rowRect,
                                              bool emphasized) const {
    const QRectF content = contentIn(rowRect);
    TableCellLayout layout =
        TableCellLayout::make(cell, content.size(), cell.titleFont(view_.font()), view_.font(), emphasized);
    const QPointF origin = content.topLeft();
    for (QRectF* part : {&layout.artwork, &layout.title, &layout.subtitle, &layout.chevron}) {
        if (!part->isEmpty()) {
            part->translate(origin);
        }
    }
    return layout;
}

bool TableCellPainter::isOverArtwork(int row, const QRect& rowRect, const QPoint& position) const {
    if (row < 0) {
        return false;
    }
    // Called on every mouse move: the artwork's place needs no title wrapping.
    const QRectF content = contentIn(rowRect);
    return TableCellLayout::artworkRect(cellForRow(row), content.size())
        .translated(content.topLeft())
        .contains(position);
}

bool TableCellPainter::showsOverlayWhenHovered(int row) const {
    if (row < 0) {
        return false;
    }
    const TableCell cell = cellForRow(row);
    return cell.glyph.isEmpty() && artworkState(cell).kind != ArtworkState::Kind::unknown;
}

ArtworkState TableCellPainter::artworkState(const TableCell& cell) const {
    if (cell.artworkUniqueID.isEmpty()) {
        return ArtworkState::unknown();
    }
    if (std::optional<QImage> image = artwork_.cachedImage(cell.artworkUniqueID, cell.artworkURL)) {
        return ArtworkState::loaded(std::move(*image));
    }
    const QString load = loadKey(cell.artworkUniqueID, cell.artworkURL);
    if (cell.artworkURL.isEmpty() || failedKeys_.contains(load)) {
        return ArtworkState::failed();
    }
    if (!requestedKeys_.contains(load)) {
        requestedKeys_.insert(load);
        artwork_.requestImage(cell.artworkURL, cell.artworkUniqueID);
    }
    return ArtworkState::unknown();
}

void TableCellPainter::imageArrived(const QString& load) {
    if (requestedKeys_.remove(load)) {
        view_.viewport()->update();
    }
}

void TableCellPainter::repaintBars() {
    for (const QRect& bars : std::as_const(paintedBars_)) {
        view_.viewport()->update(bars);
    }
    paintedBars_.clear();
}

void TableCellPainter::paintArtwork(QPainter& painter, const TableCell& cell, const QRectF& bounds, int row,
                                    const QPalette& palette) const {
    if (!cell.glyph.isEmpty()) {
        paintGlyph(painter, bounds, cell.glyph, cell.showGlyphBackground, palette);
        return;
    }
    double barsSeconds = 0;
    if (cell.showNowPlayingIndicator) {
        const QString id = source_.rowIdentifier(row);
        const auto shownAt = barsShownAt_.constFind(id);
        barsSeconds =
            clock_.seconds() -
            (shownAt == barsShownAt_.cend() ? *barsShownAt_.insert(id, clock_.seconds()) : *shownAt);
    } else if (!barsShownAt_.isEmpty()) {
        barsShownAt_.remove(source_.rowIdentifier(row));
    }
    const bool paintedBars =
        paintArtworkCell(painter, bounds, artworkState(cell), cell.artworkStyle, hoveredRow_ == row,
                         cell.showNowPlayingIndicator, barsSeconds, palette);
    if (paintedBars) {
        clock_.keepRunning();
        paintedBars_.append(bounds.toAlignedRect());
    }
}

void TableCellPainter::paintText(QPainter& painter, const TableCell& cell, const TableCellLayout& layout,
                                 bool selected, const QPalette& palette) const {
    const QColor text = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    painter.setFont(cell.titleFont(view_.font()));
    painter.setPen(cell.isEnabled ? text : withAlpha(text, 0.5));
    const qreal lineHeight = layout.title.height() / std::max<qsizetype>(1, layout.titleLines.size());
    QRectF line(layout.title.topLeft(), QSizeF(layout.title.width(), lineHeight));
    for (const QString& titleLine : layout.titleLines) {
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, titleLine);
        line.translate(0, lineHeight);
    }
    if (!layout.subtitle.isEmpty()) {
        painter.setFont(view_.font());
        painter.setPen(withAlpha(text, cell.isEnabled ? 0.6 : 0.35));
        const QString subtitle = painter.fontMetrics().elidedText(cell.subtitle, Qt::ElideRight,
                                                                  static_cast<int>(layout.subtitle.width()));
        painter.drawText(layout.subtitle, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, subtitle);
    }
}

void TableCellPainter::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem background(option);
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewRow, &background, painter, widget);
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &background, painter, widget);

    const int row = index.row();
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const bool emphasized = selected && view_.hasFocus();
    const TableCell cell = cellForRow(row);
    const TableCellLayout layout = layoutInRow(cell, option.rect, emphasized);
    painter->save();
    painter->setClipRect(option.rect);
    paintArtwork(*painter, cell, layout.artwork, row, option.palette);
    paintText(*painter, cell, layout, selected, option.palette);
    if (!layout.chevron.isEmpty()) {
        paintChevron(*painter, layout.chevron,
                     withAlpha(option.palette.color(QPalette::HighlightedText), 0.7));
    }
    painter->restore();
}

QSize TableCellPainter::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    return {option.rect.width(), source_.fittingRowHeight(index.row())};
}

} // namespace Marrowbell
