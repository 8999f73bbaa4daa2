#pragma once

#include "Search/SearchLayout.h"

#include <QRect>
#include <QSize>

namespace Marrowbell::OverlayPlacement {

/// The margin round each floating panel's visible part, where its shadow is drawn.
inline constexpr int inset = 8;
/// How much narrower than the window a panel is, and its narrowest and widest visible width.
inline constexpr int widthMargin = 160;
inline constexpr int minimumWidth = 360;
inline constexpr int maximumWidth = 600;
inline constexpr int playerBarHeight = 44;
/// The search panel's first height: its field row alone.
inline constexpr int searchFieldHeight = static_cast<int>(SearchLayout::fieldRowHeight);
/// The search panel's top edge lies this far (plus the inset) below the window's top edge.
inline constexpr int searchTopOffset = 60;

/// The visible width of a panel over a window `windowWidth` wide.
int panelWidth(int windowWidth);
/// The player bar's frame (shadow margin included) in a window of `window` size: centred, on its bottom edge.
QRect playerBar(QSize window);
/// The search panel's frame (shadow margin included): centred near the top, as tall as its content asks
/// (`contentHeight`) but no taller than the window leaves room for, and never shorter than its field row.
QRect searchPanel(QSize window, int contentHeight);

} // namespace Marrowbell::OverlayPlacement
