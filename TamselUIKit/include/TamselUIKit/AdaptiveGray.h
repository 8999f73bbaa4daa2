#pragma once

#include <QColor>

class QPalette;

namespace TamselUIKit {

/// A grey for the palette's appearance: white at 62/255 when the palette is dark (its window colour darker
/// than its window text), white at 212/255 otherwise; opaque. Any thread.
QColor adaptiveGray(const QPalette& palette);

} // namespace TamselUIKit
