#pragma once

#include <QColor>
#include <QIcon>

namespace Marrowbell::SnapBackIcon {

/// The two colours of the "Library SnapBack" symbol: the arrow and the disc behind it.
inline const QColor arrowColor = Qt::white;
inline const QColor discColor(255, 149, 0);

/// A disc with a left-turning arrow on it, `size` across. GUI thread.
QIcon make(int size);

} // namespace Marrowbell::SnapBackIcon
