#include "TamselUIKit/AdaptiveGray.h"

#include <QPalette>

namespace TamselUIKit {

QColor adaptiveGray(const QPalette& palette) {
    const bool isDark =
        palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
    const int white = isDark ? 62 : 212;
    return QColor(white, white, white);
}

} // namespace TamselUIKit
