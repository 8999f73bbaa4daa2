#pragma once

class QAbstractScrollArea;

namespace Marrowbell::PanelScrollBar {

/// The width of the scroll bar, which the list's rows leave free.
inline constexpr int width = 10;

/// Gives the list of a floating panel or popup (the search results, Up Next) a thin vertical scroll bar: a
/// rounded handle in a faint shade of the text colour over a track that lets the panel show through, and no
/// arrow buttons, so that the handle alone shows where the list stands. GUI thread.
void apply(QAbstractScrollArea& list);

} // namespace Marrowbell::PanelScrollBar
