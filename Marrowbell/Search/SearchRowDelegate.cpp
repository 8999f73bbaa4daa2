#include "Search/SearchRowDelegate.h"

#include "Artwork/ArtworkImageCache.h"
#include "Artwork/ArtworkPainting.h"
#include "Search/SearchLayout.h"
#include "Search/SearchResultsModel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>

namespace Marrowbell {
namespace {

constexpr int horizontalPadding = 8;
constexpr int artworkSpacing = 8;

const MarrowbellCore::SearchResult* resultOf(const QModelIndex& index) {
    const auto* model = qobject_cast<const SearchResultsModel*>(index.model());
    return model ? model->resultAt(index.row()) : nullptr;
}

} // namespace

SearchRowDelegate::SearchRowDelegate(ArtworkImageCache& cache, QWidget* view)
    : QStyledItemDelegate(view)
    , cache_(cache)
    , view_(view) {
    connect(&cache_, &ArtworkImageCache::imageReady, this, [this] {
        if (auto* itemView = qobject_cast<QAbstractItemView*>(view_)) {
            itemView->viewport()->update();
        }
    });
}

QSize SearchRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    const int height = std::max(static_cast<int>(SearchLayout::lineHeight), option.fontMetrics.height());
    return {option.rect.width(), std::max(height, SearchLayout::rowMinimumHeight)};
}

void SearchRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (index.data(SearchResultsModel::isHeaderRole).toBool()) {
        paintHeader(*painter, option, index.data(Qt::DisplayRole).toString());
    } else {
        paintResult(*painter, option, index);
    }
    painter->restore();
}

void SearchRowDelegate::paintHeader(QPainter& painter, const QStyleOptionViewItem& option,
                                    const QString& name) const {
    QFont font = option.font;
    font.setPointSizeF(font.pointSizeF() * 0.9);
    font.setWeight(QFont::Medium);
    painter.setFont(font);
    QColor color = option.palette.color(QPalette::Text);
    color.setAlphaF(0.55);
    painter.setPen(color);
    const QRect text = option.rect.adjusted(horizontalPadding, 0, -horizontalPadding, -4);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignBottom,
                     QFontMetrics(font).elidedText(name, Qt::ElideRight, text.width()));
}

void SearchRowDelegate::paintResult(QPainter& painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(option.palette.color(QPalette::Highlight));
        painter.drawRoundedRect(QRectF(option.rect).adjusted(2, 1, -2, -1), 6, 6);
    }
    const int size = SearchLayout::artworkSize;
    const QRectF artwork(option.rect.left() + horizontalPadding, option.rect.center().y() - size / 2.0 + 0.5,
                         size, size);
    paintArtwork(painter, artwork, option, index);

    const int textLeft = static_cast<int>(artwork.right()) + artworkSpacing;
    const QRect text(textLeft, option.rect.top(), option.rect.right() - horizontalPadding - textLeft,
                     option.rect.height());
    painter.setFont(option.font);
    painter.setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QString name = index.data(Qt::DisplayRole).toString();
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     option.fontMetrics.elidedText(name, Qt::ElideRight, text.width()));
}

void SearchRowDelegate::paintArtwork(QPainter& painter, const QRectF& bounds,
                                     const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const MarrowbellCore::SearchResult* result = resultOf(index);
    if (!result) {
        return;
    }
    const QString key = QString::fromStdString(result->thumbnailID());
    const auto address = result->artworkURL();
    const QUrl url = address ? QUrl(QString::fromStdString(address->absoluteString())) : QUrl();
    if (std::optional<QImage> image = cache_.cachedImage(key, url)) {
        paintArtworkImage(painter, bounds, *image, SearchLayout::artworkCornerRadius);
        return;
    }
    paintArtworkPlaceholder(painter, bounds, SearchLayout::artworkCornerRadius, option.palette);
    if (!url.isEmpty() && !requested_.contains(key)) {
        requested_.insert(key);
        cache_.requestImage(url, key);
    }
}

} // namespace Marrowbell
