#pragma once

#include <QIcon>

namespace Marrowbell {

/// The application's icon, drawn in code: a red rounded square with a white note. GUI thread.
QIcon appIcon();

} // namespace Marrowbell
