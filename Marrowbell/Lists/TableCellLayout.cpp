#include "Lists/TableCellLayout.h"

#include <QFontMetricsF>
#include <QHash>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>
#include <vector>

namespace Marrowbell {
namespace {

// What one font draws with: the font itself (without the fallback fonts that QFontMetrics also asks), and the
// height of a line of each script that a fallback font draws, as laid out once.
struct FontLines {
    QRawFont primary;
    double lineSpacing = 0;
    QHash<int, double> fallbackLineHeights;
};

// Rows draw with a few fonts only: titles and subtitles, in the current appearance.
FontLines& fontLines(const QFont& font) {
    thread_local std::vector<std::pair<QFont, FontLines>> fonts;
    auto found = std::ranges::find_if(fonts, [&](const auto& known) { return known.first == font; });
    if (found == fonts.end()) {
        fonts.emplace_back(font, FontLines{QRawFont::fromFont(font), QFontMetricsF(font).lineSpacing(), {}});
        found = std::prev(fonts.end());
    }
    return found->second;
}

double laidOutLineHeight(char32_t character, const QFont& font) {
    QTextLayout layout(QString::fromUcs4(&character, 1), font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    return line.isValid() ? line.height() : 0.0;
}

// A line of `text` is as tall as the tallest font that draws it: characters the font lacks come from a
// fallback font (Hangul, say) that may be taller. Laying out every painted row's text would slow down the
// scrolling of a long list, so each script's fallback height is laid out once.
double lineHeight(const QString& text, const QFont& font) {
    FontLines& lines = fontLines(font);
    double height = lines.lineSpacing;
    for (qsizetype index = 0; index < text.size(); ++index) {
        char32_t character = text[index].unicode();
        if (QChar::isHighSurrogate(character) && index + 1 < text.size() &&
            text[index + 1].isLowSurrogate()) {
            character = QChar::surrogateToUcs4(text[index], text[index + 1]);
            ++index;
        }
        if (lines.primary.supportsCharacter(character)) {
            continue;
        }
        const int script = QChar::script(character);
        auto fallback = lines.fallbackLineHeights.find(script);
        if (fallback == lines.fallbackLineHeights.end()) {
            fallback = lines.fallbackLineHeights.insert(script, laidOutLineHeight(character, font));
        }
        height = std::max(height, *fallback);
    }
    return std::ceil(height);
}

double artworkSide(const TableCell& cell) {
    return std::max(0.0, cell.artworkSize);
}

} // namespace

double TableCellLayout::textWidth(const TableCell& cell, double rowWidth) {
    const double chevron = cell.canShowChevron ? chevronReserve : 0.0;
    return std::max(0.0, rowWidth - artworkSide(cell) - textGap - chevron);
}

QStringList TableCellLayout::wrapTitle(const QString& text, const QFont& font, double width, int maxLines) {
    const QFontMetricsF metrics(font);
    if (text.isEmpty() || maxLines < 1) {
        return {};
    }
    // Most titles fit on one line; that answer needs no text layout.
    if (metrics.horizontalAdvance(text) <= width) {
        return {text};
    }
    if (maxLines == 1) {
        return {metrics.elidedText(text, Qt::ElideRight, width)};
    }
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == maxLines - 1) {
            lines.append(metrics.elidedText(text.mid(line.textStart()), Qt::ElideRight, width));
            break;
        }
        lines.append(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return lines;
}

QRectF TableCellLayout::artworkRect(const TableCell& cell, const QSizeF& size) {
    const double side = artworkSide(cell);
    return {0, std::round((size.height() - side) * 0.5), side, side};
}

TableCellLayout TableCellLayout::make(const TableCell& cell, const QSizeF& size, const QFont& titleFont,
                                      const QFont& subtitleFont, bool emphasized) {
    TableCellLayout result;
    const double side = artworkSide(cell);
    result.artwork = artworkRect(cell, size);
    if (emphasized && cell.canShowChevron) {
        result.chevron = QRectF(size.width() - chevronWidth, 0, chevronWidth, size.height());
    }
    const double width = textWidth(cell, size.width());
    result.titleLines = wrapTitle(cell.title, titleFont, width, cell.maxTitleLineLength);
    const double titleHeight =
        lineHeight(cell.title, titleFont) * std::max<qsizetype>(1, result.titleLines.size());
    const double left = side + textGap;
    if (cell.subtitle.isEmpty()) {
        result.title = QRectF(left, std::floor((size.height() - titleHeight) * 0.5), width, titleHeight);
        return result;
    }
    result.title = QRectF(left, cell.verticalPadding, width, titleHeight);
    result.subtitle =
        QRectF(left, cell.verticalPadding + titleHeight, width, lineHeight(cell.subtitle, subtitleFont));
    return result;
}

int TableCellLayout::titleLineCount(const TableCell& cell, double rowWidth, const QFont& titleFont) {
    const qsizetype lines =
        wrapTitle(cell.title, titleFont, textWidth(cell, rowWidth), cell.maxTitleLineLength).size();
    return static_cast<int>(std::max<qsizetype>(1, lines));
}

int TableCellLayout::fittingHeight(const TableCell& cell, int titleLines, const QFont& titleFont,
                                   const QFont& subtitleFont) {
    const double padding = 2 * cell.verticalPadding;
    const double text = lineHeight(cell.title, titleFont) * std::max(1, titleLines) +
                        (cell.subtitle.isEmpty() ? 0.0 : lineHeight(cell.subtitle, subtitleFont));
    return static_cast<int>(std::ceil(std::max(padding + text, padding + artworkSide(cell))));
}

} // namespace Marrowbell
