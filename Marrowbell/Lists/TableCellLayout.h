#pragma once

#include "Lists/TableCell.h"

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QStringList>

namespace Marrowbell {

/// Where the parts of a row go, in row coordinates (y grows downwards). Empty rectangles for parts that
/// are not shown.
struct TableCellLayout {
    QRectF artwork;
    QRectF title;
    /// The title's lines as painted: wrapped at word boundaries, the last one elided.
    QStringList titleLines;
    QRectF subtitle;
    QRectF chevron;

    static constexpr double textGap = 6.0;
    static constexpr double chevronReserve = 12.0;
    static constexpr double chevronWidth = 8.0;

    /// Lays out `cell` in a row of `size`; `emphasized` is the selected row of the focused list, the only
    /// one with a chevron. Lists have rows of one height, so the text block is centred vertically.
    static TableCellLayout make(const TableCell& cell, const QSizeF& size, const QFont& titleFont,
                                const QFont& subtitleFont, bool emphasized);

    /// Where the artwork of `cell` goes in a row of `size`; needs no text measuring.
    static QRectF artworkRect(const TableCell& cell, const QSizeF& size);

    /// The row height of a list whose rows look like `cell`: room for the title's whole line allowance, a
    /// subtitle line when `withSubtitle`, and the artwork, each with the padding above and below.
    static int uniformRowHeight(const TableCell& cell, const QFont& titleFont, const QFont& subtitleFont,
                                bool withSubtitle);

    /// The width left to the text in a row `rowWidth` wide.
    static double textWidth(const TableCell& cell, double rowWidth);

    /// `text` wrapped at `width` into at most `maxLines` lines, the last one elided when text is left over.
    static QStringList wrapTitle(const QString& text, const QFont& font, double width, int maxLines);
};

} // namespace Marrowbell
