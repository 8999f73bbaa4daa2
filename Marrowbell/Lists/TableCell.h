#pragma once

#include "Artwork/ArtworkPainting.h"

#include <QFont>
#include <QString>
#include <QUrl>
#include <optional>

namespace Marrowbell {

class Defaults;

/// How a configurator is asked to fill a cell: for a row that will be painted, or for the template that
/// measures row heights (which may skip costly work such as artwork).
enum class CellConfiguration { regular, preview };

/// The content and appearance of one list row: artwork (or a glyph) on the left, a title that wraps to
/// `maxTitleLineLength` lines and an optional one-line subtitle, and a chevron on the selected row of the
/// focused list. A plain value that list configurators fill and the row painter draws; no widget. GUI thread.
struct TableCell {
    QString title;
    /// 0 regular, 1 medium, 2 semibold, 3 bold.
    int titleFontWeight = 2;
    int maxTitleLineLength = 2;
    bool isEnabled = true;
    double verticalPadding = 6.0;
    double artworkSize = 32.0;
    ArtworkStyle artworkStyle = ArtworkStyle::roundedRect;
    /// Empty hides the subtitle.
    QString subtitle;
    /// A symbol drawn in place of artwork ("square.grid.3x3", "music.note", ...); none when empty.
    QString glyph;
    bool showGlyphBackground = true;
    bool showNowPlayingIndicator = false;
    /// Whether the selected row shows a chevron and reserves room for it.
    bool canShowChevron = true;
    /// The artwork-cache key of the row's thumbnail; empty for a row without artwork.
    QString artworkUniqueID;
    /// Where the thumbnail comes from; empty shows the placeholder.
    QUrl artworkURL;

    /// Sets the row's artwork: its cache key and where to fetch it.
    void setArtwork(const std::optional<QUrl>& url, const QString& uniqueID);

    /// Re-reads the display settings: title weight, padding, artwork size, title lines, and whether
    /// subtitles show (off clears `subtitle`). Every configurator calls it after filling the cell.
    void refreshAppearance(const Defaults& defaults);

    /// What a screen reader says of the row after its title: the subtitle and the now-playing mark, where
    /// the row shows them.
    QString accessibleDescription() const;

    /// The title's font: the family of `base` at 13 pixels with the cell's weight.
    QFont titleFont(const QFont& base) const;

    bool operator==(const TableCell&) const = default;
};

} // namespace Marrowbell
