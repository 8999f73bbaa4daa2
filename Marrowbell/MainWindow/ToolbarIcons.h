#pragma once

#include <QIcon>

class QPalette;

namespace Marrowbell::ToolbarIcons {

/// The toolbar's glyphs, drawn in the palette's text colour (and its disabled colour for the disabled
/// state): a left chevron, three lines narrowing downwards, a magnifying glass. GUI thread.
QIcon back(const QPalette& palette);
QIcon sortAndFilter(const QPalette& palette);
QIcon search(const QPalette& palette);

} // namespace Marrowbell::ToolbarIcons
