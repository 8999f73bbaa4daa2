#pragma once

#include <QSet>
#include <QStyledItemDelegate>

namespace Marrowbell {

class ArtworkImageCache;

/// Draws the search list's rows: a section header (its name, small and quiet, at the bottom of the row) or
/// a result (its artwork, then its name on one line). Artwork comes from the cache's memory at once; what
/// is missing shows a placeholder and is loaded once, and the list repaints when it arrives. GUI thread.
class SearchRowDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    SearchRowDelegate(ArtworkImageCache& cache, QWidget* view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    void paintHeader(QPainter& painter, const QStyleOptionViewItem& option, const QString& name) const;
    void paintResult(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    void paintArtwork(QPainter& painter, const QRectF& bounds, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const;

    ArtworkImageCache& cache_;
    QWidget* view_;
    /// Keys whose load was asked for; each is asked for once, so a failing one is not fetched at every paint.
    mutable QSet<QString> requested_;
};

} // namespace Marrowbell
