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

    /// Lays out `cell` in a row of `size`: with a subtitle the text starts below the top padding, without
    /// one the title is centred. `emphasized` is the selected row of the focused list, the only one with a
    /// chevron.
    static TableCellLayout make(const TableCell& cell, const QSizeF& size, const QFont& titleFont,
                                const QFont& subtitleFont, bool emphasized);

    /// Where the artwork of `cell` goes in a row of `size`; needs no text measuring.
    static QRectF artworkRect(const TableCell& cell, const QSizeF& size);

    /// The lines the title of `cell` takes in a row `rowWidth` wide: one when it fits (or is empty), else as
    /// many as it wraps to within `maxTitleLineLength`.
    static int titleLineCount(const TableCell& cell, double rowWidth, const QFont& titleFont);

    /// The height that fits `cell` with its title on `titleLines` lines: the title lines and, when there is a
    /// subtitle, its line, or the artwork if that is taller, with the padding above and below.
    static int fittingHeight(const TableCell& cell, int titleLines, const QFont& titleFont,
                             const QFont& subtitleFont);

    /// The width left to the text in a row `rowWidth` wide.
    static double textWidth(const TableCell& cell, double rowWidth);

    /// `text` wrapped at `width` into at most `maxLines` lines, the last one elided when text is left over.
    static QStringList wrapTitle(const QString& text, const QFont& font, double width, int maxLines);
};

} // namespace Marrowbell
