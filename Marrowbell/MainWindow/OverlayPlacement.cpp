#include "MainWindow/OverlayPlacement.h"

#include <algorithm>

namespace Marrowbell::OverlayPlacement {

int panelWidth(int windowWidth) {
    const int width = windowWidth - widthMargin;
    if (width > maximumWidth) {
        return maximumWidth;
    }
    return std::max(width, minimumWidth);
}

QRect playerBar(QSize window) {
    const int width = panelWidth(window.width());
    const int height = playerBarHeight + 2 * inset;
    return {(window.width() - width - 2 * inset) / 2, window.height() - height, width + 2 * inset, height};
}

QRect searchPanel(QSize window, int contentHeight) {
    const int width = panelWidth(window.width());
    const int room = window.height() - searchTopOffset - searchFieldHeight - 3 * inset;
    // In a window too short for the rule the field row still shows whole.
    const int height = std::max(std::min(room, contentHeight), searchFieldHeight);
    return {(window.width() - width - 2 * inset) / 2, searchTopOffset, width + 2 * inset, height + 2 * inset};
}

} // namespace Marrowbell::OverlayPlacement
